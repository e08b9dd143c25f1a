#include "sim_instrument.h"

SimInstrument::SimInstrument(int periodMs, const QString &linkPath, QObject *parent)
    : QObject(parent), m_silentUntil(QDeadlineTimer(0)) {
    m_port.setLinkPath(linkPath);
    m_timer.setInterval(periodMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    connect(&m_port, &PtyPort::received, this, [this](const QByteArray &bytes) {
        if (!isSilent())
            received(bytes);
    });
}

bool SimInstrument::start() {
    if (!m_port.open())
        return false;
    m_timer.start();
    return true;
}

void SimInstrument::stop() {
    m_timer.stop();
    m_port.close();
}

void SimInstrument::setSilent(int ms) {
    m_silentUntil = QDeadlineTimer(qMax(ms, 0));
}

bool SimInstrument::isSilent() const {
    return !m_silentUntil.hasExpired();
}

bool SimInstrument::reopen() {
    if (!m_port.reopen()) {
        m_timer.stop();
        return false;
    }
    m_timer.start();
    return true;
}

bool SimInstrument::send(const QByteArray &bytes) {
    if (isSilent() || !m_port.isOpen())
        return false;
    return m_port.write(bytes);
}
