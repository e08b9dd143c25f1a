#include "serial/platform.h"

#include <windows.h>

namespace platform {

QString comDevicePath(int n, const QString &) {
    return QStringLiteral("\\\\.\\COM%1").arg(n);
}

bool userMayOpen(const QString &) {
    return true;
}

PortAccessReason noPermissionReason(const QString &) {
    return {PortAccessReason::HeldByAnotherProgram, {}, {}};
}

int lastSystemError() {
    return int(GetLastError());
}

void keepLargeBlocksOutOfTheHeap() {}

void readTheTimeZoneOnce() {}

// The handle is never closed: the system releases the mutex with the process,
// and its existence is what a later copy sees. Any error of the creation counts
// as a running copy, the usual one being that the mutex exists already.
SingleInstance::SingleInstance(const QString &name) {
    SetLastError(0);
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.toLocal8Bit().constData());
    m_alreadyRunning = GetLastError() != 0;
    if (mutex)
        ReleaseMutex(mutex);
}

SingleInstance::~SingleInstance() = default;

} // namespace platform
