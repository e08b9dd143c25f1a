#pragma once

#include <QObject>

class QTimer;
class RunClock;
class RunEngine;

// Keeps the run engine's time in the window: one timer, tmrRun, falls due
// when the engine's next deadline does (a display refresh, a watchdog, a
// frequency step) and lets the engine do what is due.
class TRunDriver : public QObject {
    Q_OBJECT
public:
    // `engine` and `clock` outlive this.
    TRunDriver(RunEngine &engine, const RunClock &clock, QObject *parent = nullptr);

    QTimer *tmrRun() const { return m_timer; }

private:
    void schedule();
    void tmrRunTimer();

    RunEngine &m_engine;
    const RunClock &m_clock;
    QTimer *m_timer;
};
