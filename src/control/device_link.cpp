#include "control/device_link.h"

#include "control/timers.h"
#include "engine/run_periods.h"

#include <QTimer>

// The watchdog counts from the start, before any port is open, so a panel
// turns red about 3 s after start when its device is missing.
TDeviceLink::TDeviceLink(TSerComPort *port, const char *displayTimerName,
                         const char *watchdogTimerName, QObject *parent)
    : QObject(parent), m_port(port),
      m_displayTimer(makeTimer(this, displayTimerName, runperiods::kDisplayRefreshMs, false)),
      m_watchdogTimer(makeTimer(this, watchdogTimerName, runperiods::kWatchdogMs, true)) {}

void TDeviceLink::setLinkTimersEnabled(bool enabled) {
    setTimerEnabled(m_displayTimer, enabled);
    setTimerEnabled(m_watchdogTimer, enabled);
}

void TDeviceLink::armWatchdog() {
    setTimerEnabled(m_watchdogTimer, true);
}

void TDeviceLink::setLinkHealth(LinkHealth health) {
    if (m_linkState.Health == health)
        return;
    m_linkState.Health = health;
    emit linkStateChanged(m_linkState);
}
