#pragma once

#include <QList>

class QTimer;

// The six timers of the main window under their names. Each belongs to the
// controller that drives it; the window looks them up to stop them all at
// shutdown (and tests to watch them).
struct MainTimers {
    QTimer *tmrDisplayIM = nullptr;
    QTimer *tmrIMError = nullptr;
    QTimer *tmrDisplayTemp = nullptr;
    QTimer *tmrTempError = nullptr;
    QTimer *tmrNewFreq = nullptr;
    QTimer *tmrAutoconnectToDevice = nullptr;

    // In the order the shutdown stops them.
    QList<QTimer *> inShutdownOrder() const {
        return {tmrDisplayIM, tmrDisplayTemp,         tmrTempError,
                tmrIMError,   tmrAutoconnectToDevice, tmrNewFreq};
    }
};
