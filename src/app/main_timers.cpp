#include "app/main_timers.h"

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

void MainTimers::create(QObject *owner) {
    tmrDisplayIM = makeTimer(owner, "tmrDisplayIM", 200, false);
    tmrIMError = makeTimer(owner, "tmrIMError", 3000, true);
    tmrDisplayTemp = makeTimer(owner, "tmrDisplayTemp", 200, false);
    tmrTempError = makeTimer(owner, "tmrTempError", 3000, true);
    tmrNewFreq = makeTimer(owner, "tmrNewFreq", 250, false);
    tmrAutoconnectToDevice = makeTimer(owner, "tmrAutoconnectToDevice", 3000, true);
}

void setTimerEnabled(QTimer *timer, bool enabled) {
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}
