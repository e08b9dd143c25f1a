#include "engine_bench.h"

#include "meter/key_codes.h"
#include "run/results_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>
#include <vector>

namespace {

RunParameters twoRows(QVector<int32_t> frequencies = {100, 1000, 5000}, int skip = 3) {
    RunParameters p;
    p.TempInit = 20;
    p.TempFinal = 21;
    p.TempStep = 1;
    p.TempDiff = 0.3;
    p.Frequencies = std::move(frequencies);
    p.SkipCount = skip;
    return p;
}

// Counts the signal's emissions, keeping the arguments of each.
template <typename... Args> class Emissions {
public:
    Emissions(RunEngine *engine, void (RunEngine::*signal)(Args...)) {
        QObject::connect(engine, signal,
                         [this](Args... args) { m_calls.push_back(std::make_tuple(args...)); });
    }
    int count() const { return int(m_calls.size()); }
    bool isEmpty() const { return m_calls.empty(); }
    const auto &first() const { return m_calls.front(); }

private:
    std::vector<std::tuple<std::decay_t<Args>...>> m_calls;
};

bool rowFilled(const ResultsTable &table, int row) {
    for (int column = 0; column < table.columnCount(); ++column)
        if (table.cell(row, column).State != ResultsTable::CellState::Recorded)
            return false;
    return true;
}

} // namespace

TEST(RunEnginePreparation, LaysOutAFreshTableAndRefusesOneItCannotLayOut) {
    EngineBench bench;
    Emissions prepared(&bench.engine, &RunEngine::tablePrepared);
    RunParameters p = twoRows();
    p.TempFinal = 22.5; // 20, 21, 22 and 23, which lies beyond the range and takes no readings
    ASSERT_EQ(bench.engine.prepareTable(p), SetPointError::None);
    const ResultsTable &table = bench.engine.table();
    EXPECT_EQ(bench.engine.phase(), RunPhase::Prepared);
    EXPECT_EQ(prepared.count(), 1);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.setPoints()[3].text, QStringLiteral("23"));
    EXPECT_EQ(table.frequencyTexts(), QStringList({"100", "1000", "5000"}));
    EXPECT_FALSE(table.holdsRunData());
    EXPECT_EQ(bench.engine.temperatures().Count(), 3);

    p.TempStep = 0;
    EXPECT_EQ(bench.engine.prepareTable(p), SetPointError::ZeroStep);
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(prepared.count(), 1);
}

TEST(RunEngineStart, RefusesWithItsReasonAndStaysWhereItWas) {
    struct Case {
        const char *name;
        bool prepared;
        bool portsOpen;
        QString frequency; // typed into the second frequency cell
        int skip;
        StartRefusal refusal;
    };
    const Case cases[] = {
        {"no table", false, true, "1000", 3, StartRefusal::NoTable},
        {"not whole kilohertz", true, true, "1500", 3, StartRefusal::BadFrequencies},
        {"not ascending", true, true, "50", 3, StartRefusal::BadFrequencies},
        {"empty cell", true, true, "", 3, StartRefusal::BadFrequencies},
        {"negative skip", true, true, "1000", -1, StartRefusal::BadSkipCount},
        {"skip beyond a byte", true, true, "1000", 256, StartRefusal::BadSkipCount},
        {"ports closed", true, false, "1000", 3, StartRefusal::DevicesMissing},
        {"ready", true, true, "1000", 255, StartRefusal::None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EngineBench bench;
        if (c.prepared)
            bench.engine.prepareTable(twoRows());
        bench.engine.setPortsOpen(c.portsOpen);
        bench.engine.table().setFrequencyText(1, c.frequency);
        Emissions started(&bench.engine, &RunEngine::runStarted);
        const RunPhase before = bench.engine.phase();
        EXPECT_EQ(bench.engine.start(c.skip), c.refusal);
        const bool ran = c.refusal == StartRefusal::None;
        EXPECT_EQ(bench.engine.phase(), ran ? RunPhase::Running : before);
        EXPECT_EQ(started.count(), ran ? 1 : 0);
        EXPECT_EQ(bench.engine.table().holdsRunData(), ran);
    }
}

// The whole loop: captures, F3 before the first frequency key, the steps to
// each frequency of the run, the wrap to the lowest, a second set point.
TEST(RunEngineRun, FillsTheTableRowByRowAsTheTemperaturePassesItsSetPoints) {
    EngineBench bench(1000);
    bench.prepare(twoRows());
    Emissions recorded(&bench.engine, &RunEngine::readingRecorded);
    Emissions full(&bench.engine, &RunEngine::tableFull);
    ASSERT_EQ(bench.engine.start(3), StartRefusal::None);

    const ResultsTable &table = bench.engine.table();
    ASSERT_TRUE(bench.runUntil([&] { return rowFilled(table, 0); }, 120000));
    ASSERT_FALSE(bench.keys.isEmpty());
    EXPECT_EQ(bench.keys.first(), meterkey::F3);
    EXPECT_EQ(bench.keys.count(meterkey::F3), 1);
    EXPECT_TRUE(table.cell(1, 0).Text.isEmpty());
    EXPECT_EQ(full.count(), 0);

    bench.temperature = 21.1;
    ASSERT_TRUE(bench.runUntil([&] { return full.count() == 1; }, 120000));
    EXPECT_TRUE(rowFilled(table, 1));
    EXPECT_EQ(table.recordedCount(), 6);

    // The first reading: the meter's own frequency, the row of 20 degrees.
    const TJournalReading first = std::get<0>(recorded.first());
    EXPECT_EQ(first.FrequencyHz, 1000);
    EXPECT_EQ(first.Row, resultslayout::rowOfSetPoint(0));
    EXPECT_EQ(first.Col, resultslayout::columnOfFrequency(1));
    EXPECT_EQ(table.cell(0, 1).Text, first.CellText);
    EXPECT_TRUE(first.CellText.startsWith(QStringLiteral("Cp ")));
    EXPECT_TRUE(bench.engine.csvTable().TableToText().contains(QStringLiteral("Cp/D")));
    EXPECT_EQ(table.actualTemperature(1), QStringLiteral("21,1"));
}

// However fast or slow the meter sends, no reading comes from a frame with
// fewer frames before it since the last key than the skip count, and the run
// still goes through its table.
TEST(RunEngineRun, EveryReadingFollowsTheSkipCountOfFramesAfterAKey) {
    struct Case {
        int skip;
        int framePeriodMs;
    };
    for (const Case c : {Case{1, 400}, Case{3, 400}, Case{7, 400}, Case{3, 40}, Case{2, 1000}}) {
        SCOPED_TRACE(testing::Message()
                     << "skip " << c.skip << ", a frame each " << c.framePeriodMs << " ms");
        EngineBench bench(100);
        bench.framePeriodMs = c.framePeriodMs;
        bench.prepare(twoRows({100, 2000}));
        int fewest = 1000;
        QObject::connect(&bench.engine, &RunEngine::readingRecorded,
                         [&] { fewest = std::min(fewest, bench.lastFrameSinceKey); });
        ASSERT_EQ(bench.engine.start(c.skip), StartRefusal::None);
        ASSERT_TRUE(bench.runUntil([&] { return rowFilled(bench.engine.table(), 0); }, 600000));
        EXPECT_GE(fewest, c.skip);
    }
}

TEST(RunEngineRun, AnUnknownTemperatureHoldsTheReadingsAndTheSteps) {
    EngineBench bench(1000);
    bench.thermometerValid = false;
    bench.prepare(twoRows());
    ASSERT_EQ(bench.engine.start(1), StartRefusal::None);
    bench.run(10000);
    EXPECT_EQ(bench.engine.table().recordedCount(), 0);
    EXPECT_TRUE(bench.keys.isEmpty());
    EXPECT_TRUE(std::isnan(bench.engine.temperature()));

    bench.thermometerValid = true;
    EXPECT_TRUE(bench.runUntil([&] { return bench.engine.table().recordedCount() > 0; }, 5000));
}

TEST(RunEngineRun, AStopEndsTheReadingsAndTheKeysAndTheTableKeepsItsData) {
    EngineBench bench(1000);
    bench.prepare(twoRows());
    ASSERT_EQ(bench.engine.start(1), StartRefusal::None);
    ASSERT_TRUE(bench.runUntil([&] { return bench.engine.table().recordedCount() == 2; }, 60000));
    bench.engine.stop();
    const int keys = bench.keys.size();
    bench.run(20000);
    EXPECT_EQ(bench.engine.phase(), RunPhase::Stopped);
    EXPECT_EQ(bench.engine.table().recordedCount(), 2);
    EXPECT_EQ(bench.keys.size(), keys);
    EXPECT_TRUE(bench.engine.table().holdsRunData());

    ASSERT_EQ(bench.engine.start(1), StartRefusal::None);
    EXPECT_TRUE(bench.runUntil([&] { return rowFilled(bench.engine.table(), 0); }, 60000));
}

TEST(RunEngineLinks, ASilentLineIsLostAfterTheWatchdogAndReceivesAgainWithItsData) {
    EngineBench bench;
    bench.prepare(twoRows());
    Emissions changed(&bench.engine, &RunEngine::linkChanged);
    bench.run(1000);
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).Health, LinkHealth::Receiving);
    EXPECT_EQ(bench.engine.link(LinkKind::Thermometer).Health, LinkHealth::Receiving);

    bench.meterSends = false;
    bench.thermometerSends = false;
    const QDateTime lastFrame = bench.engine.link(LinkKind::Meter).LastData;
    bench.run(2500); // the last frame came at 800 ms
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).Health, LinkHealth::Receiving);
    bench.run(600);
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).Health, LinkHealth::Lost);
    EXPECT_EQ(bench.engine.link(LinkKind::Thermometer).Health, LinkHealth::Lost);
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).LastData, lastFrame);
    EXPECT_TRUE(std::isnan(bench.engine.temperature()));

    bench.meterSends = true;
    bench.thermometerSends = true;
    bench.run(1500);
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).Health, LinkHealth::Receiving);
    EXPECT_EQ(bench.engine.link(LinkKind::Thermometer).Health, LinkHealth::Receiving);
    EXPECT_GT(bench.engine.link(LinkKind::Meter).LastData, lastFrame);
    EXPECT_EQ(changed.count(), 6);
}

// Data that waited to be read while the watchdog's period ran out (a busy
// window) came in time: read before what fell due meanwhile, it keeps the
// link from being lost.
TEST(RunEngineLinks, DataReadLateStillCameInTime) {
    EngineBench bench;
    bench.prepare(twoRows());
    bench.run(1000);
    Emissions changed(&bench.engine, &RunEngine::linkChanged);
    bench.clock.advance(bench.engine.periods().WatchdogMs + 500);
    bench.sendFrame();
    bench.sendLine();
    bench.engine.advance();
    EXPECT_EQ(bench.engine.link(LinkKind::Meter).Health, LinkHealth::Receiving);
    EXPECT_EQ(bench.engine.link(LinkKind::Thermometer).Health, LinkHealth::Receiving);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_FALSE(std::isnan(bench.engine.temperature()));
}

TEST(RunEngineActualTemperature, GoesToTheRowOfTheSetPointItMatches) {
    struct Case {
        double temperature;
        int row; // -1: none
        const char *text;
        bool readable = true; // false: the lines' checksums are wrong
    };
    const Case cases[] = {
        {-49.8, 0, "-49,8"}, {-49.5, -1, ""},     {29.75, 80, "29,75"},
        {31, -1, ""},        {20, -1, "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.temperature);
        EngineBench bench;
        RunParameters p;
        p.TempInit = -50;
        p.TempFinal = 30;
        p.TempStep = 1;
        p.TempDiff = 0.3;
        bench.prepare(p);
        Emissions actual(&bench.engine, &RunEngine::actualTemperatureRecorded);
        bench.temperature = c.temperature;
        bench.thermometerValid = c.readable;
        bench.run(1000);
        EXPECT_EQ(actual.isEmpty(), c.row < 0);
        for (int row = 0; row < bench.engine.table().rowCount(); ++row)
            EXPECT_EQ(bench.engine.table().actualTemperature(row),
                      row == c.row ? QString::fromLatin1(c.text) : QString());
    }
}
