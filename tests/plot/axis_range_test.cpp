#include "plot/axis_range.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(AxisRange, LinearEndsOnRoundTicksAroundTheData) {
    struct Case {
        double lo, hi;
        int maxTicks;
        double wantLo, wantHi;
        int wantTicks;
    };
    const Case cases[] = {
        {19.85, 19.98, 11, 19.84, 19.98, 8},
        {0, 10, 11, 0, 10, 11},
        {-50.2, 30.1, 11, -60, 40, 11},
        {97.9, 101.5, 8, 97, 102, 6},
        {0.0048, 0.0081, 8, 0.004, 0.009, 6},
        {-3e-9, -1e-9, 8, -3e-9, -1e-9, 5},
        // An empty span gets room around it.
        {25, 25, 11, 22.5, 27.5, 11},
        {0, 0, 11, -1, 1, 11},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const axisrange::TRange r = axisrange::linear(c.lo, c.hi, c.maxTicks);
        EXPECT_NEAR(r.lo, c.wantLo, 1e-12 + 1e-9 * std::fabs(c.wantLo));
        EXPECT_NEAR(r.hi, c.wantHi, 1e-12 + 1e-9 * std::fabs(c.wantHi));
        EXPECT_EQ(r.ticks, c.wantTicks);
        EXPECT_LE(r.lo, c.lo);
        EXPECT_GE(r.hi, c.hi);
    }
    // A point inside the range leaves it as it is.
    EXPECT_EQ(axisrange::linear(19.85, 19.97, 11), axisrange::linear(19.85, 19.98, 11));
}

// Qt computes the ticks between the ends in floating point; fixed decimals
// keep a tick at zero from reading -2.776e-17.
TEST(AxisRange, LabelsHaveTheDecimalsOfTheStep) {
    const struct {
        axisrange::TRange range;
        const char *format;
    } cases[] = {
        {{-0.1, 0.25, 8}, "%.2f"}, {{-60, 40, 11}, "%.0f"},  {{97, 102, 6}, "%.0f"},
        {{19.84, 19.98, 8}, "%.2f"}, {{-1, 1, 5}, "%.1f"}, {{0.004, 0.009, 6}, "%.3f"},
        {{-3e-9, -1e-9, 5}, "%.4g"}, {{0, 5e7, 6}, "%.4g"}, {{2, 2, 1}, "%.4g"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.range.lo << " .. " << c.range.hi);
        EXPECT_EQ(axisrange::labelFormat(c.range).toStdString(), c.format);
    }
}

TEST(AxisRange, LogarithmicEndsOnOneTwoOrFiveTimesAPowerOfTen) {
    struct Case {
        double lo, hi, wantLo, wantHi;
    };
    const Case cases[] = {
        {25, 1e6, 20, 1e6},           {98, 101.3, 50, 200},          {100, 100, 100, 200},
        {2.2e-9, 4.7e-9, 2e-9, 5e-9}, {0.0048, 0.0082, 0.002, 0.01},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const axisrange::TRange r = axisrange::logarithmic(c.lo, c.hi);
        EXPECT_NEAR(r.lo, c.wantLo, 1e-9 * c.wantLo);
        EXPECT_NEAR(r.hi, c.wantHi, 1e-9 * c.wantHi);
    }
}

TEST(AxisRange, LogarithmicAxisLabelsAtLeastThreeValuesAndPadsItsEnds) {
    struct Case {
        double lo, hi;
        QVector<double> labels;
    };
    const Case cases[] = {
        // Decades: the powers of ten and the round ends.
        {25, 1e6, {20, 100, 1e3, 1e4, 1e5, 1e6}},
        {100, 1e6, {100, 1e3, 1e4, 1e5, 1e6}},
        // Less than three powers of ten: 2x and 5x join them.
        {1000, 5000, {1000, 2000, 5000}},
        {300, 900, {200, 500, 1000}},
        {0.0048, 0.0162, {0.002, 0.005, 0.01, 0.02}},
        // Within a factor of three: the ticks of a linear axis.
        {97.2, 100.9, {97, 98, 99, 100, 101}},
        {2.2e-9, 4.7e-9, {2e-9, 3e-9, 4e-9, 5e-9}},
        {100, 100, {90, 95, 100, 105, 110}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const axisrange::TLogAxis axis = axisrange::logarithmicAxis(c.lo, c.hi);
        ASSERT_EQ(axis.labels.size(), c.labels.size());
        for (int i = 0; i < c.labels.size(); ++i)
            EXPECT_NEAR(axis.labels[i], c.labels[i], 1e-9 * c.labels[i]) << i;
        // Every point, and every label, lies inside by the padding: a
        // marker on the first or the last frequency is drawn whole.
        const double decades = std::log10(axis.hi / axis.lo);
        const double inside = decades * axisrange::kLogPadding / (1 + 2 * axisrange::kLogPadding);
        EXPECT_GE(std::log10(std::min(c.lo, axis.labels.first()) / axis.lo), inside * 0.999);
        EXPECT_GE(std::log10(axis.hi / std::max(c.hi, axis.labels.last())), inside * 0.999);
    }
    // A point inside the axis leaves it as it is.
    const axisrange::TLogAxis wide = axisrange::logarithmicAxis(25, 1e6);
    const axisrange::TLogAxis same = axisrange::logarithmicAxis(30, 9e5);
    EXPECT_EQ(wide.lo, same.lo);
    EXPECT_EQ(wide.hi, same.hi);
}

} // namespace
