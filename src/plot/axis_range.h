#pragma once

#include <QString>
#include <QVector>

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
// The printf format of a linear axis's labels: as many decimals as its step
// needs, so that a tick Qt computes as -2.8e-17 reads 0; "%.4g" where fixed
// decimals would be too long (tiny steps or huge values).
QString labelFormat(const TRange &r);

// A logarithmic axis that labels values of its own choosing.
struct TLogAxis {
    double lo = 1.0;        // the ends, a little beyond round values, so that a
    double hi = 10.0;       // marker on a round end is drawn whole
    QVector<double> labels; // ascending, each inside lo .. hi
};

// The axis for lo .. hi (both positive). Over a factor of three or more the
// round ends of logarithmic() and the powers of ten between them, with 2x and
// 5x a power of ten as well while that leaves fewer than three labels; over
// less, the ticks of a linear axis. Either way the ends are labelled and
// padded by kLogPadding of the axis's decades. Like the other ranges it
// changes only when the data leave it.
inline constexpr double kLogPadding = 0.025;
TLogAxis logarithmicAxis(double lo, double hi);

} // namespace axisrange
