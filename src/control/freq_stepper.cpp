#include "control/freq_stepper.h"

#include "control/timers.h"
#include "model/app_state.h"
#include "run/freq_worker.h"
#include "ui/meter_display_view.h"

#include <QTimer>

namespace {
constexpr int kF3Mark = 3;
constexpr int kKeyGapMs = 250;
} // namespace

TFreqStepper::TFreqStepper(TAppState &state, const MeterDisplayView *display, SendKeyFn sendKey,
                           QObject *parent)
    : QObject(parent), m_state(state),
      m_tmrNewFreq(makeTimer(this, "tmrNewFreq", kKeyGapMs, false)), m_display(display),
      m_sendKey(std::move(sendKey)) {
    connect(m_tmrNewFreq, &QTimer::timeout, this, &TFreqStepper::tmrNewFreqTimer);
}

void TFreqStepper::holdStep() {
    setTimerEnabled(m_tmrNewFreq, false);
}

void TFreqStepper::restartStep() {
    restartTimer(m_tmrNewFreq);
}

void TFreqStepper::BeginFreqChange(int target) {
    m_state.Step = ::BeginFreqChange(m_state.Step, target);
    setTimerEnabled(m_tmrNewFreq, false);
    if (needsF3(m_display->isModeMarkVisible(kF3Mark), m_state.RunActive == 1))
        m_sendKey(freqkeys::F3);
    // Switched off just above, so this starts a fresh period.
    setTimerEnabled(m_tmrNewFreq, true);
}

void TFreqStepper::tmrNewFreqTimer() {
    if (stepDue(m_state.RunActive == 1, m_state.PortsOpen == 1, m_state.Step))
        TestDataGridClick();
    setTimerEnabled(m_tmrNewFreq, false);
}

void TFreqStepper::TestDataGridClick() {
    const TStepDecision decision =
        decideFreqStep(m_state.Step, m_state.EventStore.LastFrequency(), m_state.FreqWorker);
    m_state.Step = decision.State;
    if (decision.Completed) {
        setTimerEnabled(m_tmrNewFreq, false);
        return;
    }
    if (decision.Key)
        m_sendKey(*decision.Key);
}
