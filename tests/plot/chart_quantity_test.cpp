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

TEST(ChartQuantity, EachQuantityOfAReadingIsWhatTheMaterialConversionGives) {
    const TRunReadings readings = fixture();
    const TPlotReading &cp = readings.readings()[1];
    TMaterialValues v;
    ASSERT_EQ(materialValues(cp.pair(), cp.FrequencyHz, kCell, &v), TPairProblem::None);
    const struct {
        TChartQuantity quantity;
        double withSample;
        bool withoutSample; // has a value without a sample
    } cases[] = {
        {TChartQuantity::Main, 1.1E-11, true},
        {TChartQuantity::Secondary, 0.05, true},
        {TChartQuantity::EpsReal, v.EpsReal, false},
        {TChartQuantity::EpsImag, v.EpsImag, false},
        {TChartQuantity::TanDelta, 0.05, true},
        {TChartQuantity::Sigma, v.SigmaSPerM, false},
        {TChartQuantity::ModulusImag, v.ModulusImag, false},
    };
    ASSERT_EQ(chartQuantities().size(), int(std::size(cases)));
    for (const auto &c : cases) {
        const QString key = quantityKey(c.quantity);
        EXPECT_EQ(quantityOfKey(key), c.quantity) << key.toStdString();
        EXPECT_NEAR(quantityValue(cp, c.quantity, kCell) / c.withSample, 1, 1E-14)
            << key.toStdString();
        EXPECT_EQ(std::isfinite(quantityValue(cp, c.quantity, std::nullopt)), c.withoutSample)
            << key.toStdString();
        EXPECT_EQ(quantityNeedsSample(c.quantity), !c.withoutSample) << key.toStdString();
    }
    EXPECT_EQ(quantityOfKey("volume"), std::nullopt);
    EXPECT_NEAR(v.EpsReal, 5.5, 1E-14);
}

TEST(ChartQuantity, GapsNameEachKindOfPairOnceWithItsCells) {
    TRunReadings readings = fixture();
    readings.add(pairReading(5, 2, 1000, 24, kRsCode, "Rs", "200", kCpCode, "Cp", "1E-11"));
    const QVector<TQuantityGap> gaps = quantityGaps(readings, TChartQuantity::EpsImag, kCell);
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
    EXPECT_TRUE(quantityGaps(readings, TChartQuantity::Main, kCell).isEmpty());
    EXPECT_TRUE(quantityGaps(readings, TChartQuantity::Sigma, std::nullopt).isEmpty())
        << "without a sample there is nothing to show, not a gap per cell";
    EXPECT_EQ(quantityGaps(readings, TChartQuantity::TanDelta, std::nullopt).size(), 2);
}

TEST(ChartQuantity, AChartOfADerivedQuantityDrawsItWithItsSymbolAndUnit) {
    const TRunReadings readings = fixture();
    const struct {
        TChartQuantity quantity;
        bool log;
        const char *title;
        int points;
    } cases[] = {
        {TChartQuantity::EpsImag, false, "ε″", 2},
        {TChartQuantity::TanDelta, true, "tan δ", 2},
        // sigma' = w eps0 eps'': 5.6 nS/m and 3.1 nS/m here
        {TChartQuantity::Sigma, true, "σ′, nS/m", 2},
        {TChartQuantity::ModulusImag, false, "M″", 2},
    };
    for (const auto &c : cases) {
        TChartSeriesSet set(c.quantity, TChartArgument::Temperature, c.log, kComma);
        set.setSampleCell(kCell);
        set.rebuild(readings);
        EXPECT_EQ(set.valueTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(set.pointCount(), c.points) << c.title;
        ASSERT_EQ(set.series().size(), 1);
        const TPlotReading &cp = readings.readings()[0];
        EXPECT_EQ(set.series()[0].Points[0].Value.y(), quantityValue(cp, c.quantity, kCell));
    }
    // Without a sample the chart is empty and says what it would show.
    TChartSeriesSet empty(TChartQuantity::Sigma, TChartArgument::Temperature, false, kComma);
    empty.rebuild(readings);
    EXPECT_EQ(empty.pointCount(), 0);
    EXPECT_EQ(empty.valueTitle(), "σ′, S/m");
}

} // namespace
