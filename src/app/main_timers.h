#pragma once

#include <QList>

class QTimer;

// The timers of the main window under their names: tmrRun keeps the run
// engine's time (display refreshes, watchdogs, frequency steps),
// tmrAutoconnectToDevice reopens the links. Each belongs to the controller
// that drives it; the window looks them up to stop them all at shutdown.
struct MainTimers {
    QTimer *tmrRun = nullptr;
    QTimer *tmrAutoconnectToDevice = nullptr;

    // In the order the shutdown stops them.
    QList<QTimer *> inShutdownOrder() const { return {tmrRun, tmrAutoconnectToDevice}; }
};
