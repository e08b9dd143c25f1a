#include "pty_port.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// More unread bytes than this at the slave means nobody is listening: each instrument
// sends at most 45 bytes at a time, so a reader that keeps up never loses anything,
// and one that opens the port late finds at most a few seconds of old messages.
constexpr int kMaxBacklog = 128;

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PtyPort::PtyPort(QObject *parent) : QObject(parent) {}

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::fail(const QString &what) {
    m_error = what + QStringLiteral(": ") + errnoText();
    close();
    return false;
}

bool PtyPort::open() {
    if (isOpen())
        return true;
    m_error.clear();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return fail(QStringLiteral("posix_openpt"));
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail(QStringLiteral("grantpt/unlockpt"));
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail(QStringLiteral("ptsname"));
    m_slavePath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail(QStringLiteral("open ") + m_slavePath);
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return fail(QStringLiteral("tcgetattr"));
    ::cfmakeraw(&tio);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return fail(QStringLiteral("tcsetattr"));

    if (!m_linkPath.isEmpty() && !makeLink())
        return false;

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPort::readMaster);
    return true;
}

void PtyPort::close() {
    delete m_notifier;
    m_notifier = nullptr;
    removeLink();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
    m_slavePath.clear();
}

bool PtyPort::reopen() {
    close();
    return open();
}

bool PtyPort::makeLink() {
    const QFileInfo existing(m_linkPath);
    if (existing.isSymLink()) {
        QFile::remove(m_linkPath);
    } else if (existing.exists()) {
        m_error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(m_linkPath);
        close();
        return false;
    }
    if (::symlink(m_slavePath.toLocal8Bit().constData(), m_linkPath.toLocal8Bit().constData()) != 0)
        return fail(QStringLiteral("symlink ") + m_linkPath);
    return true;
}

void PtyPort::removeLink() {
    // Only our own link: another simulator may have taken the name since.
    if (m_linkPath.isEmpty() || m_slavePath.isEmpty())
        return;
    const QFileInfo link(m_linkPath);
    if (link.isSymLink() && link.symLinkTarget() == m_slavePath)
        QFile::remove(m_linkPath);
}

void PtyPort::readMaster() {
    char buffer[256];
    QByteArray bytes;
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<int>(n));
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

// Nobody reading also means nobody holds the port: a program killed while it held
// it could not take back the exclusive mode it set, which a real port loses at its
// last close but this pair keeps as long as the simulator runs; without clearing it
// here, a user's next start could not open the port again.
void PtyPort::dropBacklog() {
    int unread = 0;
    if (::ioctl(m_slave, FIONREAD, &unread) == 0 && unread > kMaxBacklog) {
        ::tcflush(m_slave, TCIFLUSH);
        ::ioctl(m_slave, TIOCNXCL);
    }
}

bool PtyPort::write(const QByteArray &bytes) {
    if (!isOpen())
        return false;
    dropBacklog();
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}
