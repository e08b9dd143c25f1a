#include "plot/power_of_ten.h"

#include <cmath>

namespace plotunits {

// Powers of ten up to 10^22 are exact doubles, so one multiplication or one division by
// them is rounded once, to the nearest double.
double decimal(double m, int n) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kLast = int(sizeof kExact / sizeof kExact[0]) - 1;
    if (n >= 0)
        return m * (n <= kLast ? kExact[n] : std::pow(10.0, n));
    return m / (-n <= kLast ? kExact[-n] : std::pow(10.0, -n));
}

} // namespace plotunits
