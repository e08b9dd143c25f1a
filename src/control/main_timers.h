#pragma once

class QObject;
class QTimer;

// The six timers of the main window.
struct MainTimers {
    QTimer *tmrDisplayIM = nullptr;
    QTimer *tmrIMError = nullptr;
    QTimer *tmrDisplayTemp = nullptr;
    QTimer *tmrTempError = nullptr;
    QTimer *tmrNewFreq = nullptr;
    QTimer *tmrAutoconnectToDevice = nullptr;

    // Creates the timers with their periods (divided by periodDivisor, which
    // only tests set); the two watchdogs and the autoconnect start counting
    // at once.
    void create(QObject *owner, int periodDivisor = 1);
};

// Switching a timer on restarts its period only when it was off; switching a
// running timer on again leaves its period running.
void setTimerEnabled(QTimer *timer, bool enabled);
