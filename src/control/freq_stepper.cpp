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
      m_clock(clock ? std::move(clock) : systemSteadyClock()), m_pace(kKeyGapMs) {
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

// The period is read from the timer while no step is due, so a window that
// runs its timers faster (the tests') steps faster too.
void TFreqStepper::frameAccepted() {
    if (!m_pace.dueAt())
        m_pace.setPeriodMs(m_tmrNewFreq->interval());
    m_pace.frameAccepted(m_clock());
    armTimer();
}

void TFreqStepper::cancelStep() {
    m_tmrNewFreq->stop();
    if (m_pace.dueAt())
        m_tmrNewFreq->setInterval(m_pace.periodMs());
    m_pace.clear();
}

void TFreqStepper::armTimer() {
    const std::optional<qint64> due = m_pace.dueAt();
    if (m_held || !due) {
        m_tmrNewFreq->stop();
        return;
    }
    m_tmrNewFreq->start(int(std::clamp<qint64>(*due - m_clock(), 0, m_pace.periodMs())));
}

void TFreqStepper::BeginFreqChange(int target) {
    m_state.Step = ::BeginFreqChange(m_state.Step, target);
    cancelStep();
    TEventRec newest;
    const bool f3On = m_state.EventStore.GetLast(kMeterRecord, newest) &&
                      modemarks::isOn(newest.RawData, kF3Mark);
    if (needsF3(f3On, m_state.RunActive == 1))
        m_sendKey(freqkeys::F3);
    m_pace.setPeriodMs(m_tmrNewFreq->interval());
    m_pace.changeBegun(m_clock());
    armTimer();
}

void TFreqStepper::tmrNewFreqTimer() {
    cancelStep();
    const TMyStorage &store = m_state.EventStore;
    const StepContext context{m_state.RunActive == 1, m_state.PortsOpen == 1,
                              store.LastFrequency(),  m_state.FreqAtKeyPress,
                              store.MeterSinceKey(),  m_state.SkipPacketCount};
    if (freqStepMayGo(m_state.Step, context))
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
