#include "app/single_instance.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

// The handle is never closed: the system releases the mutex with the process,
// and its existence is what a later copy sees.
SingleInstance::SingleInstance(const QString &name) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.toLocal8Bit().constData());
    m_alreadyRunning = GetLastError() != 0;
    if (mutex)
        ReleaseMutex(mutex);
}

SingleInstance::~SingleInstance() = default;

#else

// flock belongs to the open file: the kernel drops it when the process ends,
// even by a crash, so a dead copy never blocks the next start. The file is the
// user's own (as a named mutex belongs to the user's session), so another
// account's leftover file cannot keep this user's program from starting; a
// lock file that cannot be made at all lets the program start rather than
// refusing it for ever.
SingleInstance::SingleInstance(const QString &name) {
    const QString file = QStringLiteral("%1-%2.lock").arg(name).arg(::getuid());
    const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + file);
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return;
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        m_alreadyRunning = true;
        ::close(m_fd);
        m_fd = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd);
}

#endif
