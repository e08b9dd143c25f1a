#pragma once

#include "control/steady_clock.h"
#include "engine/step_pace.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

class QTimer;
struct TAppState;

// Moves the meter to a new test frequency by pressing its keys, one key per
// tick of its timer tmrNewFreq, at the pace of StepPace and by the steps of
// takeFreqStep.
class TFreqStepper : public QObject {
    Q_OBJECT
public:
    using SendKeyFn = std::function<void(uint8_t code)>;

    // Without a clock the stepper uses the system's steady clock; tests pass
    // one they advance themselves.
    TFreqStepper(TAppState &state, SendKeyFn sendKey, QObject *parent = nullptr,
                 SteadyClock clock = {});

    QTimer *tmrNewFreq() const { return m_tmrNewFreq; }

    // A notification is being read: no key until resumeStep(); a step that
    // falls due meanwhile is taken when the notification ends.
    void holdStep();
    void resumeStep();
    // A frame was accepted: unless a step is due already, the next one is
    // due a period of tmrNewFreq from now.
    void frameAccepted();
    // Forgets the step that was due (a run starts).
    void cancelStep();
    // When the next step is due on the clock; nothing while none is.
    std::optional<qint64> stepDueAt() const { return m_pace.dueAt(); }

    // Starts a change towards target. During a run the meter's frequency keys
    // only act with its F3 mark on, so F3 goes first while the meter's newest
    // frame shows the mark off.
    void BeginFreqChange(int target);
    // One step when a run with both ports open has a change in progress and
    // the meter has shown the last frequency key; the next step waits for the
    // next frame in any case.
    void tmrNewFreqTimer();
    // Presses the one key that brings the meter's last reported frequency
    // closer to the target, or ends the change once it is there.
    void TestDataGridClick();

private:
    void armTimer();

    TAppState &m_state;
    QTimer *m_tmrNewFreq;
    SendKeyFn m_sendKey;
    SteadyClock m_clock;
    // Its period is the timer's while no step is due; the timer runs for the
    // rest of it when a notification ends.
    StepPace m_pace;
    bool m_held = false;
};
