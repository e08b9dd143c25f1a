#include "plot_support.h"

#include "plot/chart_series.h"
#include "plot/run_readings.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

namespace {

const QChar kComma = QLatin1Char(',');

// What a chart view holds after applying the edits in order.
struct Mirror {
    QStringList names;
    QVector<QVector<QPointF>> points;

    void apply(const QVector<TSeriesEdit> &edits) {
        for (const TSeriesEdit &e : edits) {
            switch (e.kind) {
            case TSeriesEdit::AddSeries:
                names.insert(e.series, e.name);
                points.insert(e.series, {});
                break;
            case TSeriesEdit::RemoveSeries:
                ASSERT_TRUE(points[e.series].isEmpty());
                names.removeAt(e.series);
                points.remove(e.series);
                break;
            case TSeriesEdit::InsertPoint:
                points[e.series].insert(e.point, e.value);
                break;
            case TSeriesEdit::ReplacePoint:
                points[e.series][e.point] = e.value;
                break;
            case TSeriesEdit::RemovePoint:
                points[e.series].remove(e.point);
                break;
            }
        }
    }
};

void expectSame(const Mirror &view, const TChartSeriesSet &set) {
    ASSERT_EQ(view.names.size(), set.series().size());
    for (int s = 0; s < set.series().size(); ++s) {
        EXPECT_EQ(view.names[s], set.series()[s].Name);
        ASSERT_EQ(view.points[s].size(), set.series()[s].Points.size()) << "series " << s;
        for (int p = 0; p < view.points[s].size(); ++p)
            EXPECT_EQ(view.points[s][p], set.series()[s].Points[p].Value) << s << ":" << p;
    }
}

void expectSame(const TChartSeriesSet &a, const TChartSeriesSet &b) {
    ASSERT_EQ(a.series().size(), b.series().size());
    for (int s = 0; s < a.series().size(); ++s) {
        EXPECT_EQ(a.series()[s].Name, b.series()[s].Name);
        ASSERT_EQ(a.series()[s].Points.size(), b.series()[s].Points.size());
        for (int p = 0; p < a.series()[s].Points.size(); ++p) {
            EXPECT_EQ(a.series()[s].Points[p].Value, b.series()[s].Points[p].Value);
            EXPECT_EQ(a.series()[s].Points[p].Cell, b.series()[s].Points[p].Cell);
        }
    }
}

TEST(RunReadings, KeepsEveryReadingAndTheNewestOfEachCell) {
    TRunReadings readings(kComma);
    EXPECT_EQ(readings.add(cpReading(1, 2, 100, 20.1, "1,5E-9")).Previous, -1);
    readings.add(cpReading(1, 3, 1000, 20.2, "1,4E-9"));
    const TReadingUpdate again = readings.add(cpReading(1, 2, 100, 20.25, "1,6E-9"));
    EXPECT_EQ(again.Previous, 0);
    EXPECT_EQ(again.Current, 2);
    readings.add(cpReading(2, 2, 100, 21.0, ""));

    EXPECT_EQ(readings.readings().size(), 4);
    EXPECT_EQ(readings.filledCellCount(), 3);
    EXPECT_EQ(readings.filledInRow(1), 2);
    EXPECT_EQ(readings.filledInRow(2), 1);
    EXPECT_EQ(readings.filledInRow(3), 0);
    ASSERT_NE(readings.latest(1, 2), nullptr);
    EXPECT_DOUBLE_EQ(readings.latest(1, 2)->MainValue, 1.6e-9);
    EXPECT_DOUBLE_EQ(readings.latest(1, 2)->Temperature, 20.25);
    EXPECT_TRUE(std::isnan(readings.latest(2, 2)->MainValue)) << "an unreadable text";
    EXPECT_EQ(readings.latest(1, 2)->MainUnit, "F");
    EXPECT_EQ(readings.latest(1, 2)->SecUnit, " ");
    EXPECT_EQ(readings.latest(3, 2), nullptr);

    readings.clear();
    EXPECT_TRUE(readings.readings().isEmpty());
    EXPECT_EQ(readings.filledInRow(1), 0);
}

TEST(RunReadings, ARunIsReadWithItsOwnSeparatorStartAfterStart) {
    TJournalRun run;
    run.Table.DecimalSeparator = QLatin1Char('.');
    TJournalSegment first, second;
    first.Readings = {cpReading(1, 2, 100, 20, "1.5E-9"), cpReading(1, 3, 1000, 20, "2.5E-9")};
    second.Readings = {cpReading(1, 2, 100, 20.1, "1.75E-9")};
    run.Segments = {first, second};

    TRunReadings readings(kComma);
    readings.add(cpReading(5, 5, 100, 24, "1"));
    readings.loadRun(run);
    ASSERT_EQ(readings.readings().size(), 3);
    EXPECT_EQ(readings.filledCellCount(), 2);
    EXPECT_EQ(readings.latest(5, 5), nullptr);
    EXPECT_DOUBLE_EQ(readings.latest(1, 2)->MainValue, 1.75e-9);
    EXPECT_DOUBLE_EQ(readings.latest(1, 3)->MainValue, 2.5e-9);
}

TEST(ChartSeries, OneSeriesPerFrequencyInRowOrderAndARecordedCellMovesItsPoint) {
    TRunReadings readings(kComma);
    TChartSeriesSet set(quantity("main"), TChartArgument::Temperature, false, kComma);
    Mirror view;
    auto record = [&](const TJournalReading &r) {
        view.apply(set.apply(readings, readings.add(r)));
    };

    record(cpReading(3, 3, 1000, 22.1, "3E-9"));
    record(cpReading(1, 3, 1000, 20.0, "1E-9"));
    record(cpReading(2, 2, 100, 21.0, "2,5E-9"));
    record(cpReading(2, 3, 1000, 21.2, "2E-9"));
    ASSERT_EQ(set.series().size(), 2);
    EXPECT_EQ(set.series()[0].Name, "100 Hz");
    EXPECT_EQ(set.series()[1].Name, "1 kHz");
    ASSERT_EQ(set.series()[1].Points.size(), 3);
    EXPECT_EQ(set.series()[1].Points[0].Value, QPointF(20.0, 1e-9));
    EXPECT_EQ(set.series()[1].Points[2].Value, QPointF(22.1, 3e-9));

    record(cpReading(2, 3, 1000, 20.9, "2,2E-9"));
    EXPECT_EQ(set.pointCount(), 4);
    ASSERT_EQ(set.series()[1].Points.size(), 3);
    EXPECT_EQ(set.series()[1].Points[1].Value, QPointF(20.9, 2.2e-9));
    EXPECT_EQ(set.pointOf(readings, cellKey(2, 3)), QPointF(20.9, 2.2e-9));
    expectSame(view, set);
}

TEST(ChartSeries, AgainstFrequencyOneSeriesPerSetPointInFrequencyOrder) {
    TRunReadings readings(kComma);
    for (const auto &r : {cpReading(2, 4, 5000, 21, "1E-9"), cpReading(2, 2, 100, 21, "3E-9"),
                          cpReading(1, 3, 1000, 20, "2E-9"), cpReading(2, 3, 1000, 21, "2E-9")})
        readings.add(r);
    TChartSeriesSet set(quantity("secondary"), TChartArgument::Frequency, false, kComma);
    set.rebuild(readings);
    ASSERT_EQ(set.series().size(), 2);
    EXPECT_EQ(set.series()[0].Name, "20 °C");
    EXPECT_EQ(set.series()[1].Name, "21 °C");
    ASSERT_EQ(set.series()[1].Points.size(), 3);
    EXPECT_EQ(set.series()[1].Points[0].Value, QPointF(100, 0.001));
    EXPECT_EQ(set.series()[1].Points[2].Value, QPointF(5000, 0.001));
    EXPECT_EQ(set.valueTitle(), "D");
}

TEST(ChartSeries, PointsThatCannotBeDrawnAreLeftOutAndComeBackWhenRecordedAgain) {
    TRunReadings readings(kComma);
    TChartSeriesSet set(quantity("main"), TChartArgument::Temperature, true, kComma);
    Mirror view;
    auto record = [&](const TJournalReading &r) {
        view.apply(set.apply(readings, readings.add(r)));
    };

    record(cpReading(1, 2, 100, 20, "-1E-9")); // not on a logarithmic axis
    record(cpReading(2, 2, 100, 21, "0"));     // neither
    record(cpReading(3, 2, 100, NAN, "1E-9")); // no temperature
    record(cpReading(4, 2, 100, 23, ""));      // no value
    EXPECT_EQ(set.pointCount(), 0);
    EXPECT_TRUE(set.series().isEmpty());
    EXPECT_FALSE(set.bounds());

    record(cpReading(2, 2, 100, 21, "4E-9"));
    record(cpReading(1, 2, 100, 20, "2E-9"));
    EXPECT_EQ(set.pointCount(), 2);
    record(cpReading(2, 2, 100, 21, "-4E-9")); // drops out again
    EXPECT_EQ(set.pointCount(), 1);
    expectSame(view, set);
    EXPECT_EQ(set.valueTitle(), "Cp, nF");
}

TEST(ChartSeries, ACellRecordedAtAnotherFrequencyMovesToThatSeries) {
    TRunReadings readings(kComma);
    TChartSeriesSet set(quantity("main"), TChartArgument::Temperature, false, kComma);
    Mirror view;
    auto record = [&](const TJournalReading &r) {
        view.apply(set.apply(readings, readings.add(r)));
    };
    record(cpReading(1, 2, 100, 20, "1E-9"));
    record(cpReading(1, 2, 200, 20, "1E-9")); // the header row was changed between starts
    ASSERT_EQ(set.series().size(), 1);
    EXPECT_EQ(set.series()[0].Name, "200 Hz");
    expectSame(view, set);
}

TEST(ChartSeries, BoundsAndUnitFollowThePointsEvenWhenAnExtremeOneMoves) {
    TRunReadings readings(kComma);
    TChartSeriesSet set(quantity("main"), TChartArgument::Temperature, false, kComma);
    auto record = [&](const TJournalReading &r) { set.apply(readings, readings.add(r)); };
    record(cpReading(1, 2, 100, 20, "5E-12"));
    record(cpReading(2, 2, 100, 21, "1,5E-9"));
    EXPECT_EQ(set.valueTitle(), "Cp, nF");
    record(cpReading(2, 2, 100, 20.5, "8E-12"));
    ASSERT_TRUE(set.bounds());
    EXPECT_DOUBLE_EQ(set.bounds()->yMax, 8e-12);
    EXPECT_DOUBLE_EQ(set.bounds()->xMax, 20.5);
    EXPECT_EQ(set.valueTitle(), "Cp, pF");

    TJournalReading rs = cpReading(3, 2, 100, 22, "12000");
    rs.MainName = "Rs";
    rs.MainUnit = "kOm";
    record(rs);
    EXPECT_EQ(set.valueTitle(), "Cp, kF / Rs, kΩ") << "two quantities share the axis";
}

// Any order of recordings, re-recordings, frequency changes and values that
// cannot be drawn: the edits keep a view equal to the set, and the set equals
// one built from scratch.
TEST(ChartSeries, EditsAlwaysMatchASetBuiltFromScratch) {
    std::mt19937 random(7);
    for (const TChartArgument argument : {TChartArgument::Temperature, TChartArgument::Frequency})
        for (const bool log : {false, true}) {
            TRunReadings readings(kComma);
            TChartSeriesSet set(quantity("main"), argument, log, kComma);
            Mirror view;
            for (int i = 0; i < 600; ++i) {
                const int row = 1 + int(random() % 12);
                const int col = 2 + int(random() % 4);
                const int hz = (random() % 5 == 0) ? 50 : 100 * (col - 1);
                const int v = int(random() % 9) - 2;
                const TJournalReading r = cpReading(row, col, hz, 19.5 + row + 0.1 * (random() % 3),
                                                    v == 0 ? QString() : QString::number(v));
                view.apply(set.apply(readings, readings.add(r)));
            }
            SCOPED_TRACE(testing::Message() << int(argument) << log);
            expectSame(view, set);
            TChartSeriesSet fresh(quantity("main"), argument, log, kComma);
            fresh.rebuild(readings);
            expectSame(set, fresh);
            ASSERT_TRUE(set.bounds() && fresh.bounds());
            EXPECT_EQ(set.bounds()->yMin, fresh.bounds()->yMin);
            EXPECT_EQ(set.bounds()->yMax, fresh.bounds()->yMax);
            EXPECT_EQ(set.bounds()->xMin, fresh.bounds()->xMin);
            EXPECT_EQ(set.bounds()->xMax, fresh.bounds()->xMax);
        }
}

} // namespace
