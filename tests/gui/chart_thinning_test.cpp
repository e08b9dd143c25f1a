// A chart of more points than it has pixel columns draws them thinned, and
// no reading that is a column's lowest or highest is left out, as shown or
// as followed point by point.
#include "plot/chart_series.h"
#include "plot/run_readings.h"
#include "ui/reading_chart_view.h"

#include <QXYSeries>

#include <gtest/gtest.h>

namespace {

const QChar kComma = QLatin1Char(',');
constexpr int kRows = 6000;

TJournalReading reading(int row, double value) {
    TJournalReading r;
    r.Row = row;
    r.Col = 2;
    r.TempIndex = row - 1;
    r.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 0));
    r.SetPoint = row * 0.01;
    r.Temperature = row * 0.01;
    r.FrequencyHz = 1000;
    r.MainName = QStringLiteral("Cp");
    r.MainUnit = QStringLiteral("nF");
    r.MainBase = QString::number(value).replace(QLatin1Char('.'), kComma);
    r.SecName = QStringLiteral("D");
    r.SecUnit = QStringLiteral("  ");
    r.SecBase = QStringLiteral("0,001");
    return r;
}

bool shows(const ReadingChartView &view, double value) {
    const double y = value / view.valueScale().factor();
    for (const QPointF &p : view.shownPoints(0))
        if (qFuzzyCompare(p.y(), y))
            return true;
    return false;
}

TEST(ChartThinning, ExtremesStayDrawnWhenTheChartShowsAndFollowsALargeRun) {
    TRunReadings readings(kComma);
    for (int row = 1; row <= kRows; ++row)
        readings.add(reading(row, row == 3001 ? 9e-6 : 1e-6 + (row % 7) * 1e-9));
    TChartSeriesSet set(TChartQuantity::Main, TChartArgument::Temperature, false, kComma);
    set.rebuild(readings);

    ReadingChartView view(kComma);
    view.resize(500, 300);
    view.show();
    view.showSet(set);
    ASSERT_EQ(view.dataSeries().size(), 1);
    EXPECT_LT(view.shownPoints(0).size(), kRows) << "thinned";
    EXPECT_TRUE(shows(view, 9e-6)) << "the spike";
    EXPECT_TRUE(shows(view, 1e-6)) << "the lowest";

    // A new lowest point at the end, and a cell in the middle recorded again higher.
    const struct {
        const char *name;
        TJournalReading reading;
    } edits[] = {
        {"added", reading(kRows + 1, 5e-7)},
        {"moved", reading(1500, 2e-5)},
    };
    for (const auto &e : edits) {
        SCOPED_TRACE(e.name);
        const TReadingUpdate update = readings.add(e.reading);
        view.applyEdits(set, set.apply(readings, update));
        EXPECT_LT(view.shownPoints(0).size(), set.pointCount());
        EXPECT_TRUE(shows(view, readings.readings()[update.Current].MainValue));
        EXPECT_TRUE(shows(view, 9e-6)) << "the spike is still drawn";
    }
    EXPECT_EQ(set.pointCount(), kRows + 1) << "the set itself stays whole";
}

} // namespace
