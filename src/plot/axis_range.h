#pragma once

// Axis ranges that change only when the data leave them: the ends lie on
// round ticks, so most new points fall inside the range the chart has and
// the chart need not lay out all its points again.
namespace axisrange {

struct TRange {
    double lo = 0.0;
    double hi = 1.0;
    int ticks = 2; // tick marks including both ends
    bool operator==(const TRange &o) const { return lo == o.lo && hi == o.hi && ticks == o.ticks; }
    bool operator!=(const TRange &o) const { return !(*this == o); }
};

// lo .. hi (lo <= hi) widened to whole steps of 1, 2 or 5 times a power of
// ten, with at most maxTicks ticks. An empty span gets room around it.
TRange linear(double lo, double hi, int maxTicks);
// lo .. hi (both positive) widened to 1, 2 or 5 times a power of ten at
// each end. A logarithmic axis places its own ticks, so `ticks` stays 0.
TRange logarithmic(double lo, double hi);

} // namespace axisrange
