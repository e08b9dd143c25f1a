#include "serial/platform.h"

#include "serial/port_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {

QString linkedDevice(int n, const QString &portsFolder) {
    const QString folder = portsFolder.isEmpty() ? defaultPortsFolder() : portsFolder;
    const QFileInfo link(folder + QStringLiteral("/COM") + QString::number(n));
    if (!link.isSymLink())
        return {};
    const QString device = link.canonicalFilePath();
    return device.isEmpty() ? link.symLinkTarget() : device;
}

QString numberedDevice(int n) {
    struct Range {
        int last;
        const char *prefix;
    };
    static const Range ranges[] = {{32, "/dev/ttyS"}, {64, "/dev/ttyUSB"}, {96, "/dev/ttyACM"}};
    int first = 1;
    for (const Range &range : ranges) {
        if (n <= range.last)
            return QLatin1String(range.prefix) + QString::number(n - first);
        first = range.last + 1;
    }
    return {};
}

QString userName() {
    if (const passwd *user = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

// Listed as a member, though this process does not carry the group: added since the login.
bool listedIn(const group &g, const QString &user) {
    for (char **member = g.gr_mem; member && *member; ++member)
        if (QString::fromLocal8Bit(*member) == user)
            return true;
    return false;
}

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

QString comDevicePath(int n, const QString &portsFolder) {
    const QString linked = linkedDevice(n, portsFolder);
    return linked.isEmpty() ? numberedDevice(n) : linked;
}

bool userMayOpen(const QString &devicePath) {
    return ::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) == 0;
}

PortAccessReason noPermissionReason(const QString &devicePath) {
    struct stat info {};
    const bool groupMayOpen = ::stat(QFile::encodeName(devicePath).constData(), &info) == 0 &&
                              (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    // Joining root's group is no advice to give.
    const group *g = groupMayOpen && info.st_gid != 0 ? ::getgrgid(info.st_gid) : nullptr;
    if (!g)
        return {PortAccessReason::AskAdministrator, {}, {}};

    const QString groupName = QString::fromLocal8Bit(g->gr_name);
    const QString user = userName();
    if (listedIn(*g, user))
        return {PortAccessReason::LogInAgain, groupName, user};
#ifdef Q_OS_LINUX
    return {PortAccessReason::JoinGroup, groupName, user};
#else
    return {PortAccessReason::AskToJoinGroup, groupName, user};
#endif
}

int lastSystemError() {
    return errno;
}

void keepLargeBlocksOutOfTheHeap() {
#ifdef __GLIBC__
    constexpr int kLargeBlock = 128 * 1024;
    if (mallopt(M_MMAP_THRESHOLD, kLargeBlock) != 1)
        qWarning("mallopt(M_MMAP_THRESHOLD) refused; large blocks stay in the heap");
#endif
}

void readTheTimeZoneOnce() {
#ifdef __GLIBC__
    static const char kSystemZone[] = "/etc/localtime";
    if (qEnvironmentVariableIsSet("TZ") || ::access(kSystemZone, R_OK) != 0)
        return;
    qputenv("TZ", QByteArray(":") + kSystemZone);
    ::tzset();
#endif
}

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

} // namespace platform
