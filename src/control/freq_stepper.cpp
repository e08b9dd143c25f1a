#include "control/freq_stepper.h"

#include "control/timers.h"
#include "engine/run_periods.h"
#include "meter/mode_marks.h"
#include "model/app_state.h"
#include "run/freq_worker.h"

#include <QTimer>

#include <algorithm>

namespace {
constexpr int kF3Mark = 3;
constexpr int kKeyGapMs = runperiods::kStepMs;
} // namespace

TFreqStepper::TFreqStepper(TAppState &state, SendKeyFn sendKey, QObject *parent, SteadyClock clock)
    : QObject(parent), m_state(state),
      m_tmrNewFreq(makeTimer(this, "tmrNewFreq", kKeyGapMs, false)), m_sendKey(std::move(sendKey)),
      m_clock(clock ? std::move(clock) : systemSteadyClock()), m_periodMs(kKeyGapMs) {
    m_tmrNewFreq->setSingleShot(true);
    connect(m_tmrNewFreq, &QTimer::timeout, this, &TFreqStepper::tmrNewFreqTimer);
}

void TFreqStepper::holdStep() {
    m_held = true;
    m_tmrNewFreq->stop();
}

void TFreqStepper::resumeStep() {
    m_held = false;
    armTimer();
}

void TFreqStepper::frameAccepted() {
    if (!m_dueAt)
        makeDue();
    armTimer();
}

void TFreqStepper::cancelStep() {
    m_tmrNewFreq->stop();
    if (m_dueAt)
        m_tmrNewFreq->setInterval(m_periodMs);
    m_dueAt.reset();
}

// The period is read from the timer while no step is due, so a window that
// runs its timers faster (the tests') steps faster too.
void TFreqStepper::makeDue() {
    m_periodMs = m_tmrNewFreq->interval();
    m_dueAt = m_clock() + m_periodMs;
}

void TFreqStepper::armTimer() {
    if (m_held || !m_dueAt) {
        m_tmrNewFreq->stop();
        return;
    }
    m_tmrNewFreq->start(int(std::clamp<qint64>(*m_dueAt - m_clock(), 0, m_periodMs)));
}

void TFreqStepper::BeginFreqChange(int target) {
    m_state.Step = ::BeginFreqChange(m_state.Step, target);
    cancelStep();
    TEventRec newest;
    const bool f3On = m_state.EventStore.GetLast(kMeterRecord, newest) &&
                      modemarks::isOn(newest.RawData, kF3Mark);
    if (needsF3(f3On, m_state.RunActive == 1))
        m_sendKey(freqkeys::F3);
    makeDue();
    armTimer();
}

void TFreqStepper::tmrNewFreqTimer() {
    cancelStep();
    if (!stepDue(m_state.RunActive == 1, m_state.PortsOpen == 1, m_state.Step))
        return;
    // A frame that still shows the frequency at which the last frequency key
    // was pressed may have been on its way before the meter took the key:
    // the step waits for the next frame. Once as many frames as the capture
    // lets settle have shown it, the key is taken as lost and the step goes.
    const TMyStorage &store = m_state.EventStore;
    if (m_state.FreqAtKeyPress != 0 && store.LastFrequency() == m_state.FreqAtKeyPress &&
        store.MeterSinceKey() < m_state.SkipPacketCount)
        return;
    TestDataGridClick();
}

void TFreqStepper::TestDataGridClick() {
    const TStepDecision decision =
        decideFreqStep(m_state.Step, m_state.EventStore.LastFrequency(), m_state.FreqWorker);
    m_state.Step = decision.State;
    if (decision.Completed) {
        cancelStep();
        return;
    }
    if (decision.Key)
        m_sendKey(*decision.Key);
}
