#pragma once

#include <QString>

// A system-wide lock that marks a running copy of the program. The first copy
// takes it and holds it until its process ends, however it ends; a later copy
// finds it taken. On Windows it is the named mutex of that name; elsewhere an
// exclusive lock on a file of that name in the temporary directory.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();

    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when another process holds the lock, or when it could not be
    // checked at all.
    bool alreadyRunning() const { return m_alreadyRunning; }

private:
    bool m_alreadyRunning = false;
#ifndef Q_OS_WIN
    int m_fd = -1;
#endif
};
