#include "engine/step_pace.h"

bool freqStepMayGo(const TStepState &state, const StepContext &c) {
    if (!stepDue(c.Running, c.PortsOpen, state))
        return false;
    return !(c.FreqAtKeyPress != 0 && c.LastFrequency == c.FreqAtKeyPress &&
             c.SinceKey < c.SkipCount);
}
