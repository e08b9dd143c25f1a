#include "plot/axis_range.h"

#include <cmath>
#include <initializer_list>

namespace axisrange {
namespace {

// The smallest of 1, 2, 5 x 10^n that is at least `step`.
double roundStep(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= step * (1 - 1e-9))
            return m * power;
    return 10 * power;
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

TRange logarithmic(double lo, double hi) {
    TRange r;
    r.ticks = 0;
    r.hi = roundStep(hi);
    const double power = std::pow(10.0, std::floor(std::log10(lo) + 1e-9));
    r.lo = power;
    for (double m : {2.0, 5.0})
        if (m * power <= lo * (1 + 1e-9))
            r.lo = m * power;
    if (r.hi <= r.lo)
        r.hi = roundStep(r.lo * 1.01);
    return r;
}

} // namespace axisrange
