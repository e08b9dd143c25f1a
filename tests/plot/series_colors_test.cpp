#include "plot/series_colors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// CIELAB (D65), a measure of perceived colour apart from the one the map is built in.
struct CieLab {
    double L, a, b;
};

CieLab cieLab(const TRgb &c) {
    const auto linear = [](uint8_t v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const double r = linear(c.r), g = linear(c.g), b = linear(c.b);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double deltaE(const TRgb &p, const TRgb &q) {
    const CieLab x = cieLab(p), y = cieLab(q);
    return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b);
}

TEST(SeriesColors, EveryCountUpToFiftyGivesColoursTellingApartOnWhite) {
    const TRgb white{255, 255, 255};
    for (int count = 1; count <= 50; ++count) {
        SCOPED_TRACE(count);
        const QVector<TRgb> colors = orderedColors(count);
        ASSERT_EQ(colors.size(), count);
        double closest = 1e9;
        for (int i = 0; i < count; ++i) {
            EXPECT_GT(deltaE(colors[i], white), 30) << i;
            for (int j = i + 1; j < count; ++j)
                closest = std::min(closest, deltaE(colors[i], colors[j]));
        }
        // 2.3 is about the least difference an eye sees side by side.
        if (count > 1)
            EXPECT_GT(closest, 3.5);
    }
    EXPECT_TRUE(orderedColors(0).isEmpty());
}

TEST(SeriesColors, ColdToHotWhateverTheCount) {
    for (int count : {2, 5, 25, 50}) {
        SCOPED_TRACE(count);
        const QVector<TRgb> colors = orderedColors(count);
        const CieLab first = cieLab(colors.first());
        const CieLab last = cieLab(colors.last());
        EXPECT_LT(first.b, -30) << "violet";
        EXPECT_GT(last.a, 30) << "red";
        // The ends stay where they are as series come and go.
        EXPECT_EQ(colors.first(), orderedColors(50).first());
        EXPECT_EQ(colors.last(), orderedColors(50).last());
    }
}

} // namespace
