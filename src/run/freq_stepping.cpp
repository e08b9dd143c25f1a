#include "run/freq_stepping.h"

TStepState BeginFreqChange(TStepState state, int32_t target) {
    state.StepTarget = target;
    state.StepFinePhase = 0;
    state.StepWaypoint = 0;
    return state;
}

bool needsF3(bool f3MarkVisible, bool runActive) {
    return !f3MarkVisible && runActive;
}

bool stepDue(bool runActive, bool portsOpen, const TStepState &state) {
    return runActive && portsOpen && state.StepTarget > 0;
}

TStepDecision decideFreqStep(TStepState state, int32_t lastFrequency, TFreqWorker &worker) {
    TStepDecision decision;
    state.StepCurrentFreq = lastFrequency;
    if (state.StepWaypoint == 0)
        state.StepWaypoint = state.StepTarget;

    if (state.StepCurrentFreq == state.StepTarget) {
        state.StepFinePhase = 1;
        state.StepTarget = 0;
        state.StepWaypoint = 0;
        decision.State = state;
        decision.Completed = true;
        return decision;
    }

    if (state.StepCurrentFreq == state.StepWaypoint && state.StepFinePhase == 0)
        state.StepFinePhase = 1;

    if (state.StepFinePhase == 0) {
        state.StepWaypoint = NearestBound(worker, state.StepWaypoint);
        decision.Key = CoarseKey(state.StepCurrentFreq, state.StepWaypoint);
        if (!decision.Key)
            state.StepFinePhase = 1;
    }
    // Reaching the way point in this very step hands over to the fine keys at once.
    if (state.StepFinePhase == 1)
        decision.Key = FineKey(state.StepCurrentFreq, state.StepTarget);

    decision.State = state;
    return decision;
}
