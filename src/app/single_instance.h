#pragma once

#include <QString>

// A lock that marks a running copy of the program for this user. The first copy
// takes it and holds it until its process ends, however it ends; a later copy
// finds it taken. On Windows it is the named mutex of that name. Elsewhere it is
// an exclusive lock on a file of that name in a folder only this user can write:
// the user's runtime folder (XDG_RUNTIME_DIR), else a folder of the user's own
// in the temporary folder. Nothing another account can create or hold there
// keeps the program from starting: when no such folder or file can be had, the
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
#ifndef Q_OS_WIN
    int m_fd = -1;
#endif
};
