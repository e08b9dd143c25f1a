#include "plot/series_colors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Oklab, where straight lines and distances follow perceived colour.
struct Lab {
    double L, a, b;
};

double toLinear(uint8_t c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

uint8_t fromLinear(double v) {
    v = std::clamp(v, 0.0, 1.0);
    const double s = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return uint8_t(std::lround(s * 255));
}

Lab toLab(const TRgb &c) {
    const double r = toLinear(c.r), g = toLinear(c.g), b = toLinear(c.b);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

TRgb toRgb(const Lab &c) {
    const double l = std::pow(c.L + 0.3963377774 * c.a + 0.2158037573 * c.b, 3);
    const double m = std::pow(c.L - 0.1055613458 * c.a - 0.0638541728 * c.b, 3);
    const double s = std::pow(c.L - 0.0894841775 * c.a - 1.2914855480 * c.b, 3);
    return {fromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            fromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            fromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

double distance(const Lab &x, const Lab &y) {
    return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b);
}

// The map's stops, violet to dark red; between them it runs straight in
// Oklab. None is as light as yellow, which a white chart would swallow.
const std::array<TRgb, 8> kStops = {{{80, 0, 140},
                                     {20, 80, 230},
                                     {0, 160, 200},
                                     {40, 170, 80},
                                     {170, 170, 0},
                                     {240, 120, 0},
                                     {220, 20, 40},
                                     {120, 0, 60}}};

} // namespace

QVector<TRgb> orderedColors(int count) {
    QVector<TRgb> colors;
    if (count <= 0)
        return colors;
    std::array<Lab, kStops.size()> stops;
    std::array<double, kStops.size()> along{}; // distance from the first stop
    for (size_t i = 0; i < kStops.size(); ++i) {
        stops[i] = toLab(kStops[i]);
        if (i > 0)
            along[i] = along[i - 1] + distance(stops[i - 1], stops[i]);
    }
    const double length = along.back();
    for (int k = 0; k < count; ++k) {
        const double at = count == 1 ? 0.0 : length * k / (count - 1);
        size_t i = 1;
        while (i + 1 < kStops.size() && along[i] < at)
            ++i;
        const double t = (at - along[i - 1]) / (along[i] - along[i - 1]);
        const Lab &p = stops[i - 1];
        const Lab &q = stops[i];
        colors.append(toRgb({p.L + t * (q.L - p.L), p.a + t * (q.a - p.a), p.b + t * (q.b - p.b)}));
    }
    return colors;
}
