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
    TChartSeriesSet set(chartQuantities()[0], TChartArgument::Temperature, false, kComma);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
    // Whatever the layout left to paint is painted first, so that the next
    // paint is the one the new point asks for. A late one would only repaint
    // more than needed, never fail the test.
    do {
        paints.count = 0;
        QTest::qWait(100);
    } while (paints.count > 0);
    const QColor color = view.dataSeries()[0]->color();
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

} // namespace
