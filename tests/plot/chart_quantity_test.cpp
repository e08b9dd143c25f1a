#include "plot_support.h"

#include "material/dielectric.h"
#include "meter/meter_tables.h"
#include "plot/chart_quantity.h"
#include "plot/chart_series.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace metertables;

const QChar kComma = QLatin1Char(',');
constexpr double kEps0 = 8.8541878128E-12;
const TSampleCell kCell{2E-12, kEps0 / 2E-12};

TJournalReading pairReading(int row, int col, int hz, double temperature, uint8_t mainCode,
                            const char *mainName, const char *mainBase, uint8_t secCode,
                            const char *secName, const char *secBase) {
    TJournalReading r = cpReading(row, col, hz, temperature, mainBase, secBase);
    r.Frame[kMainCodeByte] = char(mainCode);
    r.Frame[kSecondaryCodeByte] = char(secCode);
    r.MainName = mainName;
    r.SecName = secName;
    return r;
}

// Cp with D in two cells, a mixed pair and a current.
TRunReadings fixture() {
    TRunReadings readings(kComma);
    readings.add(
        pairReading(1, 2, 1000, 20, kCpCode, "Cp", "1E-11", kDissipationCode, "D", "0,02"));
    readings.add(
        pairReading(2, 2, 1000, 21, kCpCode, "Cp", "1,1E-11", kDissipationCode, "D", "0,05"));
    readings.add(pairReading(3, 2, 1000, 22, kRsCode, "Rs", "100", kCpCode, "Cp", "1E-11"));
    readings.add(pairReading(4, 2, 1000, 23, kCurrentCode, "I", "1E-6", kPhaseCode, "Phi", "-89"));
    return readings;
}

// The list, in the order the charts offer it, and what each entry gives of
// one Cp/D reading: with the run's sample, without one, and its axis word.
TEST(ChartQuantity, EachEntryOfTheListGivesItsValueOfAReading) {
    const TRunReadings readings = fixture();
    const TPlotReading &cp = readings.readings()[1];
    TMaterialValues v;
    ASSERT_EQ(materialValues(cp.pair(), cp.FrequencyHz, kCell, &v), TPairProblem::None);
    const struct {
        const char *key;
        double withSample;
        bool withoutSample; // has a value without a sample
        const char *name;   // on the axis, for this reading
        const char *unit;
        bool logScale;
    } cases[] = {
        {"main", 1.1E-11, true, "Cp", "F", true},
        {"secondary", 0.05, true, "D", "", true},
        {"eps_real", v.EpsReal, false, "ε′", "", false},
        {"eps_imag", v.EpsImag, false, "ε″", "", true},
        {"tan_delta", 0.05, true, "tan δ", "", true},
        {"sigma", v.SigmaSPerM, false, "σ′", "S/m", true},
        {"modulus_imag", v.ModulusImag, false, "M″", "", true},
    };
    ASSERT_EQ(chartQuantities().size(), int(std::size(cases)));
    for (int at = 0; at < chartQuantities().size(); ++at) {
        const auto &c = cases[at];
        SCOPED_TRACE(c.key);
        const TChartQuantity q = chartQuantities()[at];
        EXPECT_EQ(q.key(), c.key);
        EXPECT_EQ(TChartQuantity::ofKey(c.key), q);
        EXPECT_NEAR(q.value(cp, kCell) / c.withSample, 1, 1E-14);
        EXPECT_EQ(std::isfinite(q.value(cp, std::nullopt)), c.withoutSample);
        EXPECT_EQ(q.needsSample(), !c.withoutSample);
        EXPECT_EQ(q.nameIn(cp), QString::fromUtf8(c.name));
        EXPECT_EQ(q.unitIn(cp).trimmed(), c.unit);
        EXPECT_EQ(q.offersLogScale(), c.logScale);
    }
    EXPECT_EQ(TChartQuantity::ofKey("volume"), std::nullopt);
    EXPECT_NEAR(v.EpsReal, 5.5, 1E-14);
    // A worked out value of a pair it cannot convert: none, and why.
    TPairProblem why = TPairProblem::None;
    EXPECT_TRUE(std::isnan(quantity("eps_imag").value(readings.readings()[3], kCell, &why)));
    EXPECT_EQ(why, TPairProblem::CurrentReading);
}

TEST(ChartQuantity, GapsNameEachKindOfPairOnceWithItsCells) {
    TRunReadings readings = fixture();
    readings.add(pairReading(5, 2, 1000, 24, kRsCode, "Rs", "200", kCpCode, "Cp", "1E-11"));
    const QVector<TQuantityGap> gaps = quantityGaps(readings, quantity("eps_imag"), kCell);
    ASSERT_EQ(gaps.size(), 2);
    for (const TQuantityGap &gap : gaps) {
        if (gap.MainName == "Rs") {
            EXPECT_EQ(gap.Problem, TPairProblem::UnsupportedPair);
            EXPECT_EQ(gap.Cells, 2);
        } else {
            EXPECT_EQ(gap.Problem, TPairProblem::CurrentReading);
            EXPECT_EQ(gap.Cells, 1);
        }
    }
    EXPECT_TRUE(quantityGaps(readings, quantity("main"), kCell).isEmpty());
    EXPECT_TRUE(quantityGaps(readings, quantity("sigma"), std::nullopt).isEmpty())
        << "without a sample there is nothing to show, not a gap per cell";
    EXPECT_EQ(quantityGaps(readings, quantity("tan_delta"), std::nullopt).size(), 2);
}

TEST(ChartQuantity, AChartOfADerivedQuantityDrawsItWithItsSymbolAndUnit) {
    const TRunReadings readings = fixture();
    const struct {
        const char *key;
        bool log;
        const char *title;
        int points;
    } cases[] = {
        {"eps_imag", false, "ε″", 2},
        {"tan_delta", true, "tan δ", 2},
        // sigma' = w eps0 eps'': 5.6 nS/m and 3.1 nS/m here
        {"sigma", true, "σ′, nS/m", 2},
        {"modulus_imag", false, "M″", 2},
    };
    for (const auto &c : cases) {
        TChartSeriesSet set(quantity(c.key), TChartArgument::Temperature, c.log, kComma);
        set.setSampleCell(kCell);
        set.rebuild(readings);
        EXPECT_EQ(set.valueTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(set.pointCount(), c.points) << c.title;
        ASSERT_EQ(set.series().size(), 1);
        const TPlotReading &cp = readings.readings()[0];
        EXPECT_EQ(set.series()[0].Points[0].Value.y(), quantity(c.key).value(cp, kCell));
    }
    // Without a sample the chart is empty and says what it would show.
    TChartSeriesSet empty(quantity("sigma"), TChartArgument::Temperature, false, kComma);
    empty.rebuild(readings);
    EXPECT_EQ(empty.pointCount(), 0);
    EXPECT_EQ(empty.valueTitle(), "σ′, S/m");
}

} // namespace
