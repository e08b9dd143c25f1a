#pragma once

class QObject;
class QTimer;

// A timer of a controller, named as the rest of the program knows it; periods
// are in milliseconds.
QTimer *makeTimer(QObject *owner, const char *name, int periodMs, bool enabled);

// Switching a timer on restarts its period only when it was off; switching a
// running timer on again leaves its period running.
void setTimerEnabled(QTimer *timer, bool enabled);

// Starts a fresh period whether or not the timer was running.
void restartTimer(QTimer *timer);
