#pragma once

#include "model/port_access_reason.h"

#include <QString>

// Everything that differs between Windows and the POSIX systems, in one place: the build
// takes platform_windows.cpp or platform_posix.cpp. The rest of the program is portable Qt.
namespace platform {

// The device of serial port n. Windows: "\\.\COMn". POSIX: what the link "COMn" in the ports
// folder points to, else COM1-32 /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96
// /dev/ttyACM0-31; empty for a number beyond them. n is at least 1.
QString comDevicePath(int n, const QString &portsFolder);

// Whether the file's permissions let this user open the device at all. Always true on
// Windows, where an existing port refuses an opener only while another one holds it.
bool userMayOpen(const QString &devicePath);

// Why this user may not open the device, for one that userMayOpen refuses.
PortAccessReason noPermissionReason(const QString &devicePath);

// The system's own code for the last failed call (errno, or GetLastError on Windows).
int lastSystemError();

// Called once at the start of the program, before the window exists.
//
// glibc serves a large block (over 128 KiB) from a mapping of its own, given back to the
// system when freed, but once such a block has been freed it raises that threshold and serves
// blocks of that size from the heap. The logs' texts are such blocks, reallocated as lines
// come and go; in the heap each reallocation leaves a hole that later small blocks pin, and a
// run of a day held over 2 MB more than it used. A fixed threshold keeps large blocks in
// mappings of their own. Other allocators are left as they are.
void keepLargeBlocksOutOfTheHeap();

// Called first thing in the program, before any thread or clock.
//
// Without TZ, glibc looks at /etc/localtime again (a stat of the file, to see whether it
// changed) every time Qt asks for the local time, which it does for each QDateTime in local
// time: twice for each of a meter's frames. TZ=":/etc/localtime" names the same file and has
// glibc read it once; a change of the system's time zone is then seen at the next start. A
// TZ the user set is left as it is. Nothing to do on Windows.
void readTheTimeZoneOnce();

// A lock that marks a running copy of the program for this user. The first copy takes it and
// holds it until its process ends, however it ends; a later copy finds it taken. On Windows
// it is the named mutex of that name. Elsewhere it is an exclusive lock on a file of that name
// in a folder only this user can write: the user's runtime folder (XDG_RUNTIME_DIR), else a
// folder of the user's own in the temporary folder. Nothing another account can create or
// hold there keeps the program from starting: when no such folder or file can be had, the
// program starts without the lock.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();

    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when another copy of this user holds the lock.
    bool alreadyRunning() const { return m_alreadyRunning; }

    // The lock file in use; empty on Windows and when none could be had.
    const QString &lockPath() const { return m_lockPath; }

private:
    bool m_alreadyRunning = false;
    QString m_lockPath;
    int m_fd = -1; // the lock file's descriptor; unused on Windows
};

} // namespace platform
