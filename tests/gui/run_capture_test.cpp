// Capture of readings and actual temperatures into the results grid and the
// CSV table, and the start of the change to the run's next frequency.
#include "run_window_support.h"

#include "control/meter_link.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

class RunCaptureTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        state().RunActive = 1;
        state().SkipPacketCount = 1;
    }
    // The meter stood at hz for a while: the newest record is stamped with hz.
    void meterSettledAt(int hz) { storeMeterFrame(hz, 2); }
};

TEST_F(RunCaptureTest, SettledReadingFillsCellAndBothCsvBlocksThenStepsOn) {
    storeTemperature(20.0);
    meterSettledAt(1000);
    refreshMeter();

    const TEventRec E = newestMeterRecord();
    EXPECT_EQ(cell(rowOf(20), columnOf(1000)),
              QStringLiteral("Cp 100,00 nF;---------; D 0,0050   "));
    const TCSVTable &csv = state().CSVTable;
    ASSERT_EQ(csv.ParamNames(), QStringList({QStringLiteral("Cp"), QStringLiteral("Cp/D")}));
    EXPECT_EQ(csv.Params()[0][rowOf(20) - 1][1], E.IM.MainBase);
    EXPECT_EQ(csv.Params()[1][rowOf(20) - 1][1], E.IM.SecBase);
    EXPECT_FALSE(E.IM.MainBase.isEmpty());
    EXPECT_EQ(filledCells().size(), 1u);

    EXPECT_EQ(state().NextFrequency, 5000);
    EXPECT_EQ(state().Step.StepTarget, 5000);
    EXPECT_EQ(state().Step.StepFinePhase, 0);
    EXPECT_TRUE(window->timers().tmrNewFreq->isActive());
}

// The display refresh runs every 200 ms, and a meter that sends every 400 ms
// has its frames shown twice: each is still one reading, and a cell the user
// cleared in between stays empty until the next frame.
TEST_F(RunCaptureTest, AFrameShownTwiceIsOneReading) {
    std::vector<int> recorded; // the store's Index of each recorded frame
    QObject::connect(&capture(), &TReadingCapture::readingRecorded, [&](const TJournalReading &) {
        recorded.push_back(newestMeterRecord().Index);
    });
    storeTemperature(20.0);
    meterSettledAt(1000);
    window->meterLink()->tmrDisplayIMTimer();
    ASSERT_EQ(recorded.size(), 1u);
    setCell(rowOf(20), columnOf(1000), QString());
    window->meterLink()->tmrDisplayIMTimer();
    EXPECT_EQ(recorded.size(), 1u);
    EXPECT_TRUE(cell(rowOf(20), columnOf(1000)).isEmpty());

    storeMeterFrame(1000);
    window->meterLink()->tmrDisplayIMTimer();
    window->meterLink()->tmrDisplayIMTimer();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[1], recorded[0] + 1);
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
}

TEST_F(RunCaptureTest, FramesSinceTheLastKeyMustReachTheSkipCount) {
    state().SkipPacketCount = 7;
    storeTemperature(20.0);
    meterSettledAt(1000);
    state().EventStore.ResetKeyCounter();
    for (int frame = 1; frame <= 6; ++frame) {
        storeMeterFrame(1000);
        refreshMeter();
        ASSERT_TRUE(filledCells().empty()) << "frame " << frame;
        ASSERT_EQ(state().Step.StepTarget, 0) << "frame " << frame;
    }
    storeMeterFrame(1000);
    refreshMeter();
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
    EXPECT_EQ(state().Step.StepTarget, 5000);
}

// A record's stamp is the frequency the meter had before it, but the first
// frame after a key the meter has already taken was measured at the new
// frequency: it goes into the new frequency's column, never the old one's.
// The next frequency is still chosen from the stamp.
TEST_F(RunCaptureTest, FirstFrameAfterAKeyCountsUnderItsOwnFrequency) {
    storeTemperature(20.0);
    meterSettledAt(1000);
    state().EventStore.ResetKeyCounter();
    storeMeterFrame(5000);
    refreshMeter();
    EXPECT_TRUE(cell(rowOf(20), columnOf(1000)).isEmpty());
    EXPECT_FALSE(cell(rowOf(20), columnOf(5000)).isEmpty());
    EXPECT_EQ(state().NextFrequency, 5000);
}

// A way point of a coarse step that is no run frequency fills no cell.
TEST_F(RunCaptureTest, AFrameAtAFrequencyOutsideTheRunFillsNoCell) {
    storeTemperature(20.0);
    meterSettledAt(1000);
    state().EventStore.ResetKeyCounter();
    storeMeterFrame(2000);
    refreshMeter();
    EXPECT_TRUE(filledCells().empty());
}

TEST_F(RunCaptureTest, NextFrequencyIsTheNextRunFrequencyAndWrapsToTheLowest) {
    struct Case {
        int meterHz;
        int next;
        bool written;
    };
    const Case cases[] = {
        {100, 1000, true}, {1000, 5000, true},  {5000, 100, true},
        {50, 100, false},  {2000, 5000, false}, {7000, 100, false},
    };
    storeTemperature(20.0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.meterHz);
        grid()->clearContents();
        state().Step = TStepState{};
        meterSettledAt(c.meterHz);
        refreshMeter();
        EXPECT_EQ(state().NextFrequency, c.next);
        EXPECT_EQ(state().Step.StepTarget, c.next);
        const auto filled = filledCells();
        if (c.written)
            EXPECT_EQ(filled, (std::vector<std::pair<int, int>>{{rowOf(20), columnOf(c.meterHz)}}));
        else
            EXPECT_TRUE(filled.empty());
    }
}

TEST_F(RunCaptureTest, ChangeInProgressIsNotRestarted) {
    storeTemperature(20.0);
    meterSettledAt(1000);
    state().Step = BeginFreqChange(TStepState{}, 100);
    state().Step.StepWaypoint = 100;
    refreshMeter();
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
    EXPECT_EQ(state().NextFrequency, 5000);
    EXPECT_EQ(state().Step.StepTarget, 100);
    EXPECT_EQ(state().Step.StepWaypoint, 100);
}

TEST_F(RunCaptureTest, WithoutARunNothingIsWrittenButTheNextFrequencyIsChosen) {
    state().RunActive = 0;
    storeTemperature(20.0);
    meterSettledAt(1000);
    refreshMeter();
    EXPECT_TRUE(filledCells().empty());
    EXPECT_TRUE(state().CSVTable.ParamNames().isEmpty());
    EXPECT_EQ(state().Step.StepTarget, 5000);
}

// Where the temperature lies decides the row, or that the run waits.
TEST_F(RunCaptureTest, TemperatureChoosesTheRowOrHoldsTheRun) {
    struct Case {
        double t;
        int row; // 0: nothing written
        bool steps;
    };
    const Case cases[] = {
        {21.8, rowOf(22), true}, {-50.29, rowOf(-50), true}, {30.29, rowOf(30), true},
        {21.5, 0, true},   // between two bands: nothing written, the sweep goes on
        {30.31, 0, false}, // outside the table: the meter stays where it is
        {-50.31, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.t);
        grid()->clearContents();
        state().Step = TStepState{};
        storeTemperature(c.t);
        meterSettledAt(1000);
        refreshMeter();
        const auto filled = filledCells();
        if (c.row)
            EXPECT_EQ(filled, (std::vector<std::pair<int, int>>{{c.row, columnOf(1000)}}));
        else
            EXPECT_TRUE(filled.empty());
        EXPECT_EQ(state().Step.StepTarget, c.steps ? 5000 : 0);
    }
}

// A thermometer that is lost or sends unreadable lines leaves the temperature
// unknown: nothing can be placed in a row, so the run waits, and it waits too
// for a frame stored while the temperature was unknown.
TEST_F(RunCaptureTest, UnknownTemperatureHoldsTheRun) {
    storeUnreadableLine();
    meterSettledAt(1000);
    refreshMeter();
    EXPECT_TRUE(filledCells().empty());
    EXPECT_EQ(state().Step.StepTarget, 0);

    storeTemperature(20.0);
    refreshMeter(); // the newest frame still carries the unknown temperature
    EXPECT_TRUE(filledCells().empty());
    EXPECT_EQ(state().Step.StepTarget, 0);

    storeMeterFrame(1000);
    refreshMeter();
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
    EXPECT_EQ(state().Step.StepTarget, 5000);
}

TEST_F(RunCaptureTest, ActualTemperatureGoesIntoColumnOneOfItsSetPoint) {
    struct Case {
        double t;
        int row; // 0: nothing written
        const char *text;
    };
    const Case cases[] = {
        {-49.80, rowOf(-50), "-49,8"},
        {20.0, rowOf(20), "20"},
        {29.75, rowOf(30), "29,75"},
        {-49.5, 0, ""},
        {31.0, 0, ""},
        {kUnknown, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.t);
        grid()->clearContents();
        capture().CaptureActualTemperature(c.t);
        const auto filled = filledCells();
        if (c.row) {
            EXPECT_EQ(filled, (std::vector<std::pair<int, int>>{{c.row, 1}}));
            EXPECT_EQ(cell(c.row, 1), QString::fromUtf8(c.text));
        } else {
            EXPECT_TRUE(filled.empty());
        }
    }
}

TEST_F(RunCaptureTest, ActualTemperatureIsWrittenWithoutARunToo) {
    state().RunActive = 0;
    capture().CaptureActualTemperature(21.8);
    EXPECT_EQ(cell(rowOf(22), 1), QStringLiteral("21,8"));
}

} // namespace
