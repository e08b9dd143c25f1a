#include "plot/power_of_ten.h"
#include "plot/unit_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using plotunits::scaleForRange;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Exactly the double the literal gives: the prefixes and axis ends compare against such values.
TEST(UnitScale, DecimalPowersAreTheNearestDoubles) {
    const struct {
        double m;
        int n;
        double expected;
    } cases[] = {
        {1, 0, 1},       {1, -3, 1e-3},   {1, -9, 1e-9},   {5, -10, 5e-10},
        {2, -15, 2e-15}, {1, -15, 1e-15}, {1, -22, 1e-22}, {5, -7, 5e-7},
        {1, 12, 1e12},   {2, 22, 2e22},   {1, 30, 1e30},
    };
    for (const auto &c : cases)
        EXPECT_EQ(plotunits::decimal(c.m, c.n), c.expected) << c.m << "e" << c.n;
}

struct RangeCase {
    double lo, hi;
    const char *prefix;
    int exponent;
};

TEST(UnitScale, PrefixShowsTheLargerMagnitudeWithOneToThreeDigits) {
    const RangeCase cases[] = {
        {1e-15, 1e-15, "f", -15},
        {3e-15, 800e-15, "f", -15},
        {1e-12, 1e-12, "p", -12},
        {10e-12, 999e-12, "p", -12},
        {1e-9, 1e-9, "n", -9},
        {0.5e-9, 2.2e-9, "n", -9},
        {4.7e-6, 4.7e-6, "µ", -6},
        {1e-3, 0.9, "m", -3},
        {1, 1, "", 0},
        {0.2, 999.9, "", 0},
        {1000, 1000, "k", 3},
        {1e6, 1e6, "M", 6},
        {1e12, 5e14, "T", 12},
        // Beyond the meter's prefixes the nearest one stays.
        {1e-18, 1e-18, "f", -15},
        {1e16, 1e16, "T", 12},
        // The sign does not matter, the larger magnitude does.
        {-4.7e-9, 1e-12, "n", -9},
        {-3e-6, -1e-6, "µ", -6},
        {-1500, 2, "k", 3},
        // Zero, unknown and infinite bounds.
        {0, 0, "", 0},
        {kNaN, kNaN, "", 0},
        {kNaN, 2.2e-12, "p", -12},
        {0, 1e-9, "n", -9},
        {-kInf, 47e-6, "µ", -6},
        {kInf, kNaN, "", 0},
    };
    for (const RangeCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const plotunits::TUnitScale scale = scaleForRange(c.lo, c.hi);
        EXPECT_EQ(scale.Prefix, QString::fromUtf8(c.prefix));
        EXPECT_EQ(scale.Exponent, c.exponent);
        const double magnitude = std::fmax(std::isfinite(c.lo) ? std::fabs(c.lo) : 0,
                                           std::isfinite(c.hi) ? std::fabs(c.hi) : 0);
        if (magnitude >= 1e-15 && magnitude < 1e15 && magnitude > 0) {
            EXPECT_GE(magnitude / scale.factor(), 1.0);
            EXPECT_LT(magnitude / scale.factor(), 1000.0);
        }
    }
}

TEST(UnitScale, MeterUnitsLoseTheirPrefixAndGetTheirChartAndFileNames) {
    struct Case {
        const char *text, *unit, *chart, *ascii;
    };
    const Case cases[] = {
        {"nF", "F", "F", "F"},     {" F", "F", "F", "F"},  {"kOm", "Om", "Ω", "Ohm"},
        {"mOm", "Om", "Ω", "Ohm"}, {"mkA", "A", "A", "A"}, {"MS", "S", "S", "S"},
        {"  ", " ", "", ""},       {"k ", " ", "", ""},    {" °", "°", "°", "deg"},
        {"mH", "H", "H", "H"},     {"", "", "", ""},       {"nX", "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const QString unit = plotunits::meterBaseUnit(QString::fromUtf8(c.text));
        EXPECT_EQ(unit, QString::fromUtf8(c.unit));
        EXPECT_EQ(plotunits::chartUnit(unit), QString::fromUtf8(c.chart));
        EXPECT_EQ(plotunits::asciiUnit(unit), QString::fromUtf8(c.ascii));
    }
}

TEST(UnitScale, AxisTitleNamesTheQuantityAndItsScaledUnit) {
    EXPECT_EQ(plotunits::axisTitle("Cp", scaleForRange(1e-9, 5e-9), "F"), "Cp, nF");
    EXPECT_EQ(plotunits::axisTitle("Rs", scaleForRange(0, 12e3), "Om"), "Rs, kΩ");
    EXPECT_EQ(plotunits::axisTitle("R", scaleForRange(0, 12), "Om"), "R, Ω");
    EXPECT_EQ(plotunits::axisTitle("D", {}, " "), "D");
}

} // namespace
