#pragma once

#include "engine/link_state.h"

#include <QObject>

class QTimer;
class TSerComPort;

// What the two device links have in common and the autoconnection switches:
// the serial line, the display refresh (200 ms after the data) and the link
// watchdog (3 s without data). Each link owns its two timers.
class TDeviceLink : public QObject {
    Q_OBJECT
public:
    TDeviceLink(TSerComPort *port, const char *displayTimerName, const char *watchdogTimerName,
                QObject *parent);

    TSerComPort *port() const { return m_port; }
    QTimer *displayTimer() const { return m_displayTimer; }
    QTimer *watchdogTimer() const { return m_watchdogTimer; }

    // The refresh and the watchdog run while the line is open.
    void setLinkTimersEnabled(bool enabled);
    // Keeps the watchdog counting (it turns the panel red while no data come).
    void armWatchdog();

    // Silent for a watchdog's period, or sending nothing usable; the panel
    // shows it red.
    bool isLinkLost() const { return m_linkState.Health == LinkHealth::Lost; }
    const LinkState &linkState() const { return m_linkState; }

signals:
    void linkStateChanged(const LinkState &state);

protected:
    void setLinkHealth(LinkHealth health);
    // Data arrived at `time`.
    void markData(const QDateTime &time) { m_linkState.LastData = time; }

private:
    LinkState m_linkState;
    TSerComPort *m_port;
    QTimer *m_displayTimer;
    QTimer *m_watchdogTimer;
};
