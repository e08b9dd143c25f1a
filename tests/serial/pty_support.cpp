#include "pty_support.h"

#include "serial/port_names.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

PtyPair::PtyPair() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    const char *name = (grantpt(fd) == 0 && unlockpt(fd) == 0) ? ptsname(fd) : nullptr;
    if (!name) {
        ::close(fd);
        return;
    }
    m_master = fd;
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
}

void PtyPair::closeMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::feed(const QByteArray &data, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (timer.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

QByteArray PtyPair::receive(int count, int timeoutMs) {
    QByteArray got;
    waitUntil(
        [&] {
            char buf[4096];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
            return got.size() >= count;
        },
        timeoutMs);
    return got;
}

bool PortsFolder::link(int n, const QString &target) {
    return QFile::link(target, m_dir.path() + QStringLiteral("/COM%1").arg(n));
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(timeoutMs))
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void runEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(ms)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}
