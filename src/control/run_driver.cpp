#include "control/run_driver.h"

#include "engine/run_engine.h"

#include <QTimer>

#include <algorithm>

TRunDriver::TRunDriver(RunEngine &engine, const RunClock &clock, QObject *parent)
    : QObject(parent), m_engine(engine), m_clock(clock), m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("tmrRun"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &TRunDriver::tmrRunTimer);
    connect(&m_engine, &RunEngine::dueChanged, this, &TRunDriver::schedule);
    schedule();
}

void TRunDriver::schedule() {
    const std::optional<qint64> due = m_engine.nextDueMs();
    if (!due) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(std::max<qint64>(0, *due - m_clock.elapsedMs())));
}

void TRunDriver::tmrRunTimer() {
    m_engine.advance();
    schedule();
}
