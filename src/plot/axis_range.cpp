#include "plot/axis_range.h"

#include "plot/power_of_ten.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace axisrange {
namespace {

// The smallest of 1, 2, 5 x 10^n that is at least `step`.
double roundStep(double step) {
    const int power = int(std::floor(std::log10(step)));
    for (double m : {1.0, 2.0, 5.0})
        if (plotunits::decimal(m, power) >= step * (1 - 1e-9))
            return plotunits::decimal(m, power);
    return plotunits::decimal(1, power + 1);
}

} // namespace

TRange linear(double lo, double hi, int maxTicks) {
    if (hi <= lo) {
        const double room = lo != 0 ? std::fabs(lo) * 0.1 : 1.0;
        lo -= room;
        hi += room;
    }
    double step = roundStep((hi - lo) / (maxTicks - 1));
    TRange r;
    for (;;) {
        r.lo = std::floor(lo / step + 1e-9) * step;
        r.hi = std::ceil(hi / step - 1e-9) * step;
        r.ticks = int(std::lround((r.hi - r.lo) / step)) + 1;
        if (r.ticks <= maxTicks)
            return r;
        step = roundStep(step * 1.01);
    }
}

QString labelFormat(const TRange &r) {
    const double step = r.ticks > 1 ? (r.hi - r.lo) / (r.ticks - 1) : r.hi - r.lo;
    const double largest = std::max(std::fabs(r.lo), std::fabs(r.hi));
    if (!(step >= 1e-4) || largest >= 1e7)
        return QStringLiteral("%.4g");
    const int decimals = std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
    return QStringLiteral("%.%1f").arg(decimals);
}

TRange logarithmic(double lo, double hi) {
    TRange r;
    r.ticks = 0;
    r.hi = roundStep(hi);
    const int power = int(std::floor(std::log10(lo) + 1e-9));
    r.lo = plotunits::decimal(1, power);
    for (double m : {2.0, 5.0})
        if (plotunits::decimal(m, power) <= lo * (1 + 1e-9))
            r.lo = plotunits::decimal(m, power);
    if (r.hi <= r.lo)
        r.hi = roundStep(r.lo * 1.01);
    return r;
}

TLogAxis logarithmicAxis(double lo, double hi) {
    TLogAxis axis;
    TRange r;
    if (hi < 3 * lo) {
        r = linear(lo, hi, 6);
        const double step = (r.hi - r.lo) / (r.ticks - 1);
        for (int i = 0; i < r.ticks; ++i)
            axis.labels.append(r.lo + i * step);
    } else {
        r = logarithmic(lo, hi);
        const auto labelled = [&axis](double v) {
            return std::any_of(axis.labels.cbegin(), axis.labels.cend(),
                               [v](double l) { return std::fabs(l - v) <= 1e-9 * v; });
        };
        const auto addLabels = [&](std::initializer_list<double> multiples) {
            const int first = int(std::floor(std::log10(r.lo) + 1e-9));
            for (int e = first; plotunits::decimal(1, e) <= r.hi * (1 + 1e-9); ++e)
                for (double m : multiples) {
                    const double v = plotunits::decimal(m, e);
                    if (v >= r.lo * (1 - 1e-9) && v <= r.hi * (1 + 1e-9) && !labelled(v))
                        axis.labels.append(v);
                }
        };
        addLabels({1.0});
        if (axis.labels.size() < 3)
            addLabels({2.0, 5.0});
        // Round ends that are no power of ten: 20 Hz .. 1 MHz.
        for (double end : {r.lo, r.hi})
            if (!labelled(end))
                axis.labels.append(end);
        std::sort(axis.labels.begin(), axis.labels.end());
    }
    const double pad = std::pow(r.hi / r.lo, kLogPadding);
    axis.lo = r.lo / pad;
    axis.hi = r.hi * pad;
    return axis;
}

} // namespace axisrange
