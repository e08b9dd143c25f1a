#include "engine/capture_rule.h"

#include <cmath>

CaptureDecision CaptureRule::take(const TEventRec &E, const Context &c) {
    CaptureDecision decision;
    const bool settled = E.SinceKey >= c.SkipCount;
    if (!settled || !c.Temps.InRange(c.Temperature) || std::isnan(E.Temperature))
        return decision;
    decision.Taken = true;

    const int32_t measuredAt = E.IM.FreqHz;
    const bool recorded = m_lastRecorded && *m_lastRecorded == E.Index;
    if (!recorded && c.Running && c.Temps.InRange(E.Temperature) && c.Freqs.Contains(measuredAt)) {
        const TTempItem ti = c.Temps.FindTemp(E.Temperature);
        if (ti.Index != -1) {
            decision.Place = CapturePlace{ti, c.Freqs.FindFreq(measuredAt)};
            m_lastRecorded = E.Index;
        }
    }
    decision.NextFrequency = c.Freqs.NextFreq(E.Frequency);
    return decision;
}
