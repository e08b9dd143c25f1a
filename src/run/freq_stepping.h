#pragma once

#include "run/freq_worker.h"

#include <cstdint>
#include <optional>

// Progress of a change of the meter's test frequency. With no change in
// progress StepTarget and StepWaypoint are 0 and StepFinePhase is 1.
struct TStepState {
    int32_t StepTarget = 0;      // frequency being approached; 0 = no change in progress
    int32_t StepWaypoint = 0;    // range bound the coarse keys approach; 0 = not chosen yet
    int32_t StepFinePhase = 1;   // 0 while coarse keys are due, 1 once fine keys are due
    int32_t StepCurrentFreq = 0; // meter frequency read at the start of the latest step
};

// Outcome of one step: the new state, the key to press (at most one) and
// whether the meter has reached the target, which ends the change.
struct TStepDecision {
    TStepState State;
    std::optional<uint8_t> Key;
    bool Completed = false;
};

// Starts a change towards `target`: coarse phase, way point still to be chosen.
TStepState BeginFreqChange(TStepState state, int32_t target);

// Whether the F3 key must precede a change: only during a run and only while
// the meter does not show its F3 mark.
bool needsF3(bool f3MarkVisible, bool runActive);

// Whether the step timer may take a step at all.
bool stepDue(bool runActive, bool portsOpen, const TStepState &state);

// One step of a change, decided from the frequency of the latest valid meter
// frame: first coarse keys towards the range bound nearest to the target, then
// fine keys until the meter reports the target exactly.
TStepDecision decideFreqStep(TStepState state, int32_t lastFrequency, TFreqWorker &worker);
