#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class MeterDisplayView;
class QTimer;
struct TAppState;

// Moves the meter to a new test frequency by pressing its keys, one key per
// tick of its timer tmrNewFreq. The receiver re-arms the timer after every
// accepted frame, so each key is decided from a frequency the meter has just
// reported.
class TFreqStepper : public QObject {
    Q_OBJECT
public:
    using SendKeyFn = std::function<void(uint8_t code)>;

    TFreqStepper(TAppState &state, const MeterDisplayView *display, SendKeyFn sendKey,
                 QObject *parent = nullptr);

    QTimer *tmrNewFreq() const { return m_tmrNewFreq; }
    // No key until the timer is restarted (a notification is being read, or the run stopped).
    void holdStep();
    // A fresh 250 ms before the next key (a frame was just accepted).
    void restartStep();

    // Starts a change towards target. During a run the meter's frequency keys
    // only act with its F3 mark on, so F3 goes first while the mark is off.
    void BeginFreqChange(int target);
    // One step when a run with both ports open has a change in progress; the
    // timer waits for the next frame in any case.
    void tmrNewFreqTimer();
    // Presses the one key that brings the meter's last reported frequency
    // closer to the target, or ends the change once it is there.
    void TestDataGridClick();

private:
    TAppState &m_state;
    QTimer *m_tmrNewFreq;
    const MeterDisplayView *m_display;
    SendKeyFn m_sendKey;
};
