#include "plot_support.h"
#include "relaxation_support.h"

#include "plot/chart_series.h"
#include "plot/relaxation_peaks.h"
#include "plot/run_readings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Kind = TRelaxationPeak::Kind;
const double NaN = std::numeric_limits<double>::quiet_NaN();

QVector<QPointF> points(const QVector<double> &temperatures, const QVector<double> &values) {
    QVector<QPointF> p;
    for (int i = 0; i < temperatures.size(); ++i)
        p.append({temperatures[i], values[i]});
    return p;
}

struct PeakCase {
    const char *what;
    QVector<double> temperatures;
    QVector<double> values;
    Kind kind;
    double temperature; // NaN: no temperature
    double value;
};

void PrintTo(const PeakCase &c, std::ostream *os) {
    *os << c.what;
}

class PeakShapes : public ::testing::TestWithParam<PeakCase> {};

TEST_P(PeakShapes, FindsTheMaximumOrSaysWhyNot) {
    const PeakCase &c = GetParam();
    const TRelaxationPeak peak = findPeak(1000.0, points(c.temperatures, c.values));
    EXPECT_EQ(peak.FrequencyHz, 1000.0);
    EXPECT_EQ(int(peak.kind), int(c.kind));
    EXPECT_EQ(peak.usable(), c.kind == Kind::Inside);
    if (std::isnan(c.temperature))
        EXPECT_TRUE(std::isnan(peak.TemperatureC)) << peak.TemperatureC;
    else
        EXPECT_NEAR(peak.TemperatureC, c.temperature, 1e-9);
    if (std::isnan(c.value))
        EXPECT_TRUE(std::isnan(peak.Value));
    else
        EXPECT_NEAR(peak.Value, c.value, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PeakShapes,
    ::testing::Values(
        // y = 5 - (T - 21.3)^2 through uneven steps: the vertex itself.
        PeakCase{"parabola",
                 {18, 20, 22, 25},
                 {5 - 10.89, 5 - 1.69, 5 - 0.49, 5 - 13.69},
                 Kind::Inside,
                 21.3,
                 5},
        PeakCase{"unordered",
                 {22, 18, 25, 20},
                 {5 - 0.49, 5 - 10.89, 5 - 13.69, 5 - 1.69},
                 Kind::Inside,
                 21.3,
                 5},
        // Two equal tops: the peak lies midway, above both.
        PeakCase{"two equal points", {10, 20, 30, 40}, {1, 3, 3, 1}, Kind::Inside, 25, 3.25},
        PeakCase{"rising to the hottest", {10, 20, 30}, {1, 2, 3}, Kind::AtEdge, 30, 3},
        PeakCase{"falling from the coldest", {10, 20, 30}, {3, 2, 1}, Kind::AtEdge, 10, 3},
        PeakCase{
            "equal top reaching the hottest", {10, 20, 30, 40}, {1, 2, 3, 3}, Kind::AtEdge, 40, 3},
        PeakCase{"both ends highest", {10, 20, 30}, {3, 1, 3}, Kind::AtEdge, 10, 3},
        PeakCase{"flat run", {10, 20, 30, 40}, {2, 2, 2, 2}, Kind::Flat, NaN, 2},
        PeakCase{"two points", {10, 20}, {1, 2}, Kind::TooFewPoints, 20, 2},
        PeakCase{"no points", {}, {}, Kind::TooFewPoints, NaN, NaN},
        // Cells without a value or a temperature are not points.
        PeakCase{"NaN cells skipped",
                 {10, 15, 20, 25, 30, NaN},
                 {1, NaN, 3, 2, NaN, 9},
                 Kind::Inside,
                 18.75,
                 73.0 / 24},
        PeakCase{"NaN cells leave two", {10, 20, 30}, {1, NaN, 3}, Kind::TooFewPoints, 30, 3},
        PeakCase{"infinite value skipped",
                 {10, 20, 30, 40},
                 {1, std::numeric_limits<double>::infinity(), 2, 3},
                 Kind::AtEdge,
                 40,
                 3},
        // A neighbour read at the top's own temperature leaves no parabola.
        PeakCase{
            "neighbour at one temperature", {10, 20, 20, 30}, {1, 2, 3, 1}, Kind::Inside, 20, 3}),
    [](const auto &info) {
        std::string name = info.param.what;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(RelaxationPeaks, DebyeLossPeaksWhereOmegaTauIsOne) {
    // Where 2 pi f tau = 1 with tau = tau0 exp(E / kT).
    const TRelaxationTime tau = arrheniusTime(0.5, 1e-13);
    for (double hz : {100.0, 1.0E4, 1.0E6}) {
        const TRelaxationPeak peak = findPeak(hz, lossCurve(hz, tau, -100, 200, 2.0));
        const double expected =
            0.5 / (kBoltzmannEvPerK * std::log(1.0 / (2 * M_PI * hz * 1e-13))) - kZeroCelsiusK;
        ASSERT_TRUE(peak.usable()) << hz;
        EXPECT_NEAR(peak.TemperatureC, expected, 0.1) << hz;
        EXPECT_NEAR(peak.Value, 1.5, 0.005) << hz;
    }
}

TEST(RelaxationPeaks, OnePeakPerFrequencyOfAChartAgainstTemperature) {
    TRunReadings readings(QLatin1Char(','));
    // 1 kHz peaks at row 2; 10 kHz still rises at the last row.
    const char *kilohertz[] = {"1", "4", "2"};
    const char *tenKilohertz[] = {"1", "2", "3"};
    for (int row = 1; row <= 3; ++row) {
        readings.add(cpReading(row, 2, 1000, 19.5 + row, kilohertz[row - 1]));
        readings.add(cpReading(row, 3, 10000, 19.6 + row, tenKilohertz[row - 1]));
    }
    TChartSeriesSet chart(quantity("main"), TChartArgument::Temperature, false,
                          QLatin1Char(','));
    chart.rebuild(readings);

    const QVector<TRelaxationPeak> peaks = findPeaks(chart.series());
    ASSERT_EQ(peaks.size(), 2);
    EXPECT_EQ(peaks[0].FrequencyHz, 1000);
    EXPECT_EQ(int(peaks[0].kind), int(Kind::Inside));
    EXPECT_NEAR(peaks[0].TemperatureC, 21.5 + 0.5 * (3.0 - 2.0) / (3.0 + 2.0), 1e-9);
    EXPECT_EQ(peaks[1].FrequencyHz, 10000);
    EXPECT_EQ(int(peaks[1].kind), int(Kind::AtEdge));
    EXPECT_DOUBLE_EQ(peaks[1].TemperatureC, 22.6);
}

TEST(RelaxationPeaks, TableForClipboardAndForDataTools) {
    TRelaxationPeak inside;
    inside.FrequencyHz = 1000;
    inside.TemperatureC = 26.85;
    inside.Value = 0.125;
    inside.PointCount = 9;
    inside.kind = Kind::Inside;
    TRelaxationPeak flat;
    flat.FrequencyHz = 100000;
    flat.Value = 2;
    flat.kind = Kind::Flat;

    TPeakTableFormat clipboard;
    clipboard.Titles = QStringList{"f, Гц", "Tm, °C", "Tm, K", "значение", ""};
    clipboard.KindNotes = QStringList{"", "у края", "мало точек", "нет пика"};
    EXPECT_EQ(peakTable({inside, flat}, clipboard), "f, Гц\tTm, °C\tTm, K\tзначение\t\n"
                                                    "1000\t26,85\t300\t0,125\t\n"
                                                    "100000\t\t\t2\tнет пика\n");

    TPeakTableFormat file{QLatin1Char(','), QLatin1Char('.'),
                          QStringList{"frequency_Hz", "T_m_C", "T_m_K", "value", "peak"},
                          QStringList{"inside", "edge", "few_points", "flat"}};
    EXPECT_EQ(peakTable({inside, flat}, file), "frequency_Hz,T_m_C,T_m_K,value,peak\n"
                                               "1000,26.85,300,0.125,inside\n"
                                               "100000,,,2,flat\n");
}

} // namespace
