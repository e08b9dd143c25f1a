// The engine's readings and actual temperatures in the results grid and its
// CSV table, and the start of the change to the run's next frequency, as the
// display refreshes take them. Which records become readings is the capture
// rule's (tests/engine).
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
        engine().beginRun();
        engine().setSkipCount(1);
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
    const TCSVTable &csv = engine().csvTable();
    ASSERT_EQ(csv.ParamNames(), QStringList({QStringLiteral("Cp"), QStringLiteral("Cp/D")}));
    EXPECT_EQ(csv.Params()[0][rowOf(20) - 1][1], E.IM.MainBase);
    EXPECT_EQ(csv.Params()[1][rowOf(20) - 1][1], E.IM.SecBase);
    EXPECT_FALSE(E.IM.MainBase.isEmpty());
    EXPECT_EQ(filledCells(),
              (std::vector<std::pair<int, int>>{{rowOf(20), 1}, {rowOf(20), columnOf(1000)}}));

    EXPECT_EQ(engine().stepState().StepTarget, 5000);
    EXPECT_EQ(engine().stepState().StepFinePhase, 0);
    EXPECT_TRUE(window->timers().tmrRun->isActive());
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
    refreshMeter();
    ASSERT_EQ(recorded.size(), 1u);
    setCell(rowOf(20), columnOf(1000), QString());
    refreshMeter();
    EXPECT_EQ(recorded.size(), 1u);
    EXPECT_TRUE(cell(rowOf(20), columnOf(1000)).isEmpty());

    storeMeterFrame(1000);
    refreshMeter();
    refreshMeter();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[1], recorded[0] + 1);
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
}

TEST_F(RunCaptureTest, ChangeInProgressIsNotRestarted) {
    storeTemperature(20.0);
    meterSettledAt(1000);
    engine().beginFreqChange(100);
    const TStepState before = engine().stepState();
    ASSERT_EQ(before.StepTarget, 100);
    refreshMeter();
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
    const TStepState after = engine().stepState();
    EXPECT_EQ(after.StepTarget, before.StepTarget);
    EXPECT_EQ(after.StepWaypoint, before.StepWaypoint);
    EXPECT_EQ(after.StepFinePhase, before.StepFinePhase);
}

TEST_F(RunCaptureTest, WithoutARunNothingIsWrittenButTheNextFrequencyIsChosen) {
    engine().stop();
    storeTemperature(20.0);
    meterSettledAt(1000);
    refreshMeter();
    EXPECT_TRUE(filledResultCells().empty());
    EXPECT_TRUE(engine().csvTable().ParamNames().isEmpty());
    EXPECT_EQ(engine().stepState().StepTarget, 5000);
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
        if (std::isnan(c.t))
            storeUnreadableLine();
        else
            storeTemperature(c.t);
        refreshMeter();
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
    engine().stop();
    storeTemperature(21.8);
    refreshMeter();
    EXPECT_EQ(cell(rowOf(22), 1), QStringLiteral("21,8"));
}

} // namespace
