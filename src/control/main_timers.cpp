#include "control/main_timers.h"

#include <QTimer>

namespace {
QTimer *makeTimer(QObject *owner, const char *name, int periodMs, bool enabled) {
    auto *timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(periodMs);
    setTimerEnabled(timer, enabled);
    return timer;
}
} // namespace

void MainTimers::create(QObject *owner, int periodDivisor) {
    const int d = periodDivisor > 0 ? periodDivisor : 1;
    tmrDisplayIM = makeTimer(owner, "tmrDisplayIM", 200 / d, false);
    tmrIMError = makeTimer(owner, "tmrIMError", 3000 / d, true);
    tmrDisplayTemp = makeTimer(owner, "tmrDisplayTemp", 200 / d, false);
    tmrTempError = makeTimer(owner, "tmrTempError", 3000 / d, true);
    tmrNewFreq = makeTimer(owner, "tmrNewFreq", 250 / d, false);
    tmrAutoconnectToDevice = makeTimer(owner, "tmrAutoconnectToDevice", 3000 / d, true);
}

void setTimerEnabled(QTimer *timer, bool enabled) {
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}
