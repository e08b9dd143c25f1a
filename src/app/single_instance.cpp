#include "app/single_instance.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

namespace {

// A real folder (not a link) of this user that no one else may write into.
bool isPrivateFolder(const QByteArray &path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The runtime folder the session gives the user, else "<name>-<uid>" in the
// temporary folder, made only-ours if it is not there yet. Empty when neither is
// private: someone else made the second, or made it a link.
QByteArray privateFolder(const QString &name) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QByteArray own = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name +
                                             QLatin1Char('-') + QString::number(::getuid()));
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(own) ? own : QByteArray();
}

} // namespace

// flock belongs to the open file: the kernel drops it when the process ends,
// even by a crash, so a dead copy never blocks the next start. The file must be
// a regular file of this user's, opened without following a link.
SingleInstance::SingleInstance(const QString &name) {
    const QByteArray folder = privateFolder(name);
    if (folder.isEmpty())
        return;
    const QByteArray path = folder + '/' + QFile::encodeName(name) + ".lock";
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (m_fd < 0)
        return;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        m_alreadyRunning = errno == EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_lockPath = QFile::decodeName(path);
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd);
}

#endif
