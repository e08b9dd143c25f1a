#include "control/timers.h"

#include <QTimer>

QTimer *makeTimer(QObject *owner, const char *name, int periodMs, bool enabled) {
    auto *timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(periodMs);
    setTimerEnabled(timer, enabled);
    return timer;
}

void setTimerEnabled(QTimer *timer, bool enabled) {
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}

void restartTimer(QTimer *timer) {
    timer->stop();
    timer->start();
}
