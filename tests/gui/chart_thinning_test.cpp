// A chart of more points than it has pixel columns draws them thinned, and
// no reading that is a column's lowest or highest is left out, as shown or
// as followed point by point.
#include "plot/chart_series.h"
#include "plot/run_readings.h"
#include "ui/reading_chart_view.h"

#include <QChart>
#include <QImage>
#include <QScreen>
#include <QTest>

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
    TChartSeriesSet set(chartQuantities()[0], TChartArgument::Temperature, false, kComma);
    set.rebuild(readings);

    ReadingChartView view(kComma);
    view.resize(500, 300);
    view.show();
    view.showSet(set);
    ASSERT_EQ(view.seriesCount(), 1);
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

// Counts the paints of a widget, to wait for a repaint the screen asked for.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

// Whether a pixel within one of `at` has the colour.
bool drawnNear(const QImage &image, QPoint at, QColor color) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (image.pixelColor(at + QPoint(dx, dy)) == color)
                return true;
    return false;
}

// Paints whatever the layout left to paint, so that the next paint is the
// one a change asks for. A late one would only repaint more than needed,
// never fail a test.
void settle(PaintCounter &paints) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
    do {
        paints.count = 0;
        QTest::qWait(100);
    } while (paints.count > 0);
}

TEST(ChartThinning, TheLinesLieWhereTheAxesSayAndTheScreenFollowsAPointAsADrawingAfresh) {
    TRunReadings readings(kComma);
    for (int row = 1; row <= kRows; ++row)
        readings.add(reading(row, row == 3001 ? 9e-6 : 1e-6 + (row % 7) * 1e-9));
    TChartSeriesSet set(chartQuantities()[0], TChartArgument::Temperature, false, kComma);
    set.rebuild(readings);

    ReadingChartView view(kComma);
    PaintCounter paints;
    view.viewport()->installEventFilter(&paints);
    view.resize(500, 300);
    view.show();
    view.showSet(set);
    settle(paints);
    const QColor color = view.seriesColor(0);
    auto pixelOf = [&](double temperature, double value) {
        const QPointF inChart =
            view.chart()->mapToPosition(QPointF(temperature, value / view.valueScale().factor()));
        return view.mapFromScene(view.chart()->mapToScene(inChart));
    };
    const QImage drawn = view.grab().toImage();
    EXPECT_TRUE(drawnNear(drawn, pixelOf(30.01, 9e-6), color)) << "the spike's top";
    EXPECT_TRUE(drawnNear(drawn, pixelOf(0.07, 1e-6), color)) << "a lowest point";

    // A point within the axes, added at the end: only its end is painted again.
    paints.count = 0;
    const TReadingUpdate update = readings.add(reading(kRows + 1, 5e-6));
    view.applyEdits(set, set.apply(readings, update));
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
    const QImage onScreen = view.screen()->grabWindow(view.winId()).toImage();
    EXPECT_EQ(onScreen.convertToFormat(QImage::Format_RGB32),
              view.grab().toImage().convertToFormat(QImage::Format_RGB32))
        << "the screen shows what a fresh drawing shows";
    EXPECT_TRUE(drawnNear(onScreen, pixelOf(60.01, 5e-6), color)) << "the new point";
}

// Against the frequency a long run has a series per set point: more than
// the colour bar has pixel rows. Each is drawn whole, the bar runs from the
// first set point's colour at the bottom to the last one's at the top, and
// the chart follows a new set point and its points in place, the screen
// showing what a fresh drawing shows.
TEST(ChartThinning, ASeriesPerSetPointOfALongRunIsDrawnWholeAndFollowedInPlace) {
    constexpr int kSetPoints = 2000;
    const int hz[] = {100, 1000, 10000};
    const auto byFrequency = [&](int row, int f) {
        TJournalReading r = reading(row, 1e-6 * (1 + row % 13) / (f + 1));
        r.Col = 2 + f;
        r.FreqIndex = f;
        r.FrequencyHz = hz[f];
        return r;
    };
    TRunReadings readings(kComma);
    for (int row = 1; row <= kSetPoints; ++row)
        for (int f = 0; f < 3; ++f)
            readings.add(byFrequency(row, f));
    TChartSeriesSet set(chartQuantities()[0], TChartArgument::Frequency, false, kComma);
    set.rebuild(readings);

    ReadingChartView view(kComma);
    PaintCounter paints;
    view.viewport()->installEventFilter(&paints);
    view.resize(500, 300);
    view.show();
    view.showSet(set);
    ASSERT_EQ(view.seriesCount(), kSetPoints);
    EXPECT_TRUE(view.showsColorBar());
    EXPECT_EQ(view.chart()->series().size(), 1) << "the ring's only: no Qt Charts series per line";
    for (int s : {0, kSetPoints / 2, kSetPoints - 1})
        EXPECT_EQ(view.shownPoints(s).size(), 3) << s;
    settle(paints);

    const QRectF plot = view.chart()->plotArea();
    const auto barPixel = [&](double y) {
        return view.mapFromScene(view.chart()->mapToScene(QPointF(plot.right() + 17, y)));
    };
    const auto seriesOfColor = [&](QColor color) {
        for (int s = 0; s < view.seriesCount(); ++s)
            if (view.seriesColor(s) == color)
                return s;
        return -1;
    };
    const QImage drawn = view.grab().toImage();
    const int bottom = seriesOfColor(drawn.pixelColor(barPixel(plot.bottom() - 2)));
    const int top = seriesOfColor(drawn.pixelColor(barPixel(plot.top() + 2)));
    EXPECT_GE(bottom, 0);
    EXPECT_LT(bottom, kSetPoints / 20);
    EXPECT_GT(top, kSetPoints * 19 / 20);

    // A new set point, then its next frequency, which only lengthens the last line.
    for (int f = 0; f < 2; ++f) {
        SCOPED_TRACE(f);
        paints.count = 0;
        const TReadingUpdate update = readings.add(byFrequency(kSetPoints + 1, f));
        view.applyEdits(set, set.apply(readings, update));
        ASSERT_EQ(view.seriesCount(), kSetPoints + 1);
        EXPECT_EQ(view.chart()->series().size(), 1);
        EXPECT_EQ(view.shownPoints(kSetPoints).size(), f + 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
        const QImage onScreen = view.screen()->grabWindow(view.winId()).toImage();
        EXPECT_EQ(onScreen.convertToFormat(QImage::Format_RGB32),
                  view.grab().toImage().convertToFormat(QImage::Format_RGB32))
            << "the screen shows what a fresh drawing shows";
        settle(paints);
    }
}

} // namespace
