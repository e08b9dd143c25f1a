#pragma once

#include "pty_port.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

// What the two simulated instruments share: a pseudo-terminal, a message period and
// the faults of the line itself (silence, a replug).
class SimInstrument : public QObject {
    Q_OBJECT
public:
    // Opens the pseudo-terminal (and its link) and starts the periodic messages.
    bool start();
    void stop();
    bool isRunning() const { return m_port.isOpen(); }

    QString slavePath() const { return m_port.slavePath(); }
    QString linkPath() const { return m_port.linkPath(); }
    QString errorString() const { return m_port.errorString(); }

    // Unplugged for ms milliseconds: nothing is sent, and bytes that arrive are lost.
    void setSilent(int ms);
    bool isSilent() const;

    // Unplugged and plugged in again: a new pseudo-terminal, the link moved to it.
    bool reopen();

    int periodMs() const { return m_timer.interval(); }

protected:
    SimInstrument(int periodMs, const QString &linkPath, QObject *parent);

    // The periodic message.
    virtual void tick() = 0;
    // Bytes from the program on the other end.
    virtual void received(const QByteArray &bytes) = 0;

    // Puts bytes on the line; false when silent or not running.
    bool send(const QByteArray &bytes);

private:
    PtyPort m_port;
    QTimer m_timer;
    QDeadlineTimer m_silentUntil;
};
