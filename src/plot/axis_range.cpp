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
    r.lo = std::pow(10.0, std::floor(std::log10(lo) + 1e-9));
    r.hi = std::pow(10.0, std::ceil(std::log10(hi) - 1e-9));
    if (r.hi <= r.lo)
        r.hi = r.lo * 10;
    r.ticks = int(std::lround(std::log10(r.hi / r.lo))) + 1;
    return r;
}

} // namespace axisrange
