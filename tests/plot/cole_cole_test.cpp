#include "plot_support.h"

#include "plot/chart_series.h"
#include "plot/cole_cole.h"
#include "plot/run_readings.h"

#include <gtest/gtest.h>

namespace {

TEST(ColeCole, OnePointPerFrequencyOfTheSetPointWithBothParts) {
    TRunReadings readings(QLatin1Char(','));
    // Row 1 at 10 kHz, 100 Hz and 1 kHz (columns out of frequency order); the
    // 1 kHz cell has no secondary value; row 2 is another set point.
    readings.add(cpReading(1, 2, 10000, 20.0, "3", "0,1"));
    readings.add(cpReading(1, 3, 100, 20.0, "5", "0,5"));
    readings.add(cpReading(1, 4, 1000, 20.0, "4", "---"));
    readings.add(cpReading(2, 2, 10000, 21.0, "7", "0,7"));

    TChartSeriesSet real(quantity("main"), TChartArgument::Frequency, false, QLatin1Char(','));
    TChartSeriesSet imaginary(quantity("secondary"), TChartArgument::Frequency, false,
                              QLatin1Char(','));
    real.rebuild(readings);
    imaginary.rebuild(readings);
    ASSERT_EQ(real.series().size(), 2);
    ASSERT_EQ(real.series()[0].Group, 1);

    const QVector<TColeColePoint> points = coleColePoints(real.series()[0], imaginary.series()[0]);
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points[0].FrequencyHz, 100);
    EXPECT_EQ(points[0].Real, 5);
    EXPECT_EQ(points[0].Imaginary, 0.5);
    EXPECT_EQ(points[1].FrequencyHz, 10000);
    EXPECT_EQ(points[1].Real, 3);
    EXPECT_EQ(points[1].Imaginary, 0.1);
}

} // namespace
