#pragma once

#include "engine/run_periods.h"
#include "run/freq_stepping.h"

#include <QtGlobal>

#include <cstdint>
#include <optional>

// When the next key of a frequency change is due, the same for the window and
// for a run without one. A key is decided from a frequency the meter reported
// after the key before: the first frame after a step makes the next one due a
// period later, and the frames that follow do not postpone it, so a meter that
// sends faster than that period still steps a period after its first frame.
class StepPace {
public:
    explicit StepPace(int periodMs = runperiods::kStepMs) : m_periodMs(periodMs) {}

    int periodMs() const { return m_periodMs; }
    // Takes effect from the next step made due.
    void setPeriodMs(int ms) { m_periodMs = ms; }

    // A meter frame was accepted: unless a step is due already, one is due a
    // period from now.
    void frameAccepted(qint64 nowMs) {
        if (!m_dueAt)
            m_dueAt = nowMs + m_periodMs;
    }
    // A change began: its first step is due a period from now, whatever was
    // due before.
    void changeBegun(qint64 nowMs) { m_dueAt = nowMs + m_periodMs; }
    // A step was taken, or the one due is forgotten: the next frame makes
    // another due.
    void clear() { m_dueAt.reset(); }
    std::optional<qint64> dueAt() const { return m_dueAt; }

private:
    int m_periodMs;
    std::optional<qint64> m_dueAt;
};

// What a step that falls due knows of the run and the meter.
struct StepContext {
    bool Running = false;
    bool PortsOpen = false;
    int32_t LastFrequency = 0;  // the frequency of the meter's newest record
    int32_t FreqAtKeyPress = 0; // the meter's frequency when the last key went out, if it
                                // was a frequency key; 0 otherwise
    int SinceKey = 0;           // meter records since the last key
    int SkipCount = 0;          // frames that settle a reading after a key
};

// Whether the step that falls due may go: not without a run with both ports
// open and a change in progress, nor while the meter's newest frame still
// shows the frequency at which the last frequency key was pressed: such a
// frame may have been on its way before the meter took the key, and deciding
// from it would press again and overshoot. Once as many frames as settle a
// reading have shown it, the key is taken as lost and the step goes.
bool freqStepMayGo(const TStepState &state, const StepContext &c);
