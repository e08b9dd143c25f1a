// Frequency changes played against the simulated meter through the real
// serial port: the keys the meter receives for each change, F3 before a
// change while its mark is off, and a run stopped in the middle of a change.
#include "instruments_support.h"

#include "test_window.h"
#include "control/meter_link.h"
#include "engine/run_engine.h"
#include "serial/ser_com_port.h"
#include "sim_meter.h"
#include "ui/meter_display_view.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kF3Mark = 3;

class RunStepperTest : public ::testing::Test {
protected:
    explicit RunStepperTest(int frameMs = 40) : bench(frameMs) {}

    void SetUp() override {
        // Five columns: the start-up lays out the default table, -50 .. 30
        // degrees at 100, 1000, 5000, 10000 and 100000 Hz.
        bench.writeSettings(QStringLiteral("FreqColCount=5\r\n"));
        window = std::make_unique<TestWindow>(bench.windowOptions());
        // The automatic connection opens both links and sends the enter key;
        // the meter starts with no mode mark, which the display shows once it
        // has shown a frame.
        ASSERT_TRUE(waitUntil([&] {
            return engine().portsOpen() && engine().store().LastFrequency() == 1000 &&
                   !f3MarkShown();
        }));
    }
    void TearDown() override {
        for (QTimer *timer : window->findChildren<QTimer *>())
            timer->stop();
    }

    TAppState &state() { return window->state(); }
    RunEngine &engine() { return window->engine(); }
    bool f3MarkShown() const { return window->ui().meterDisplay->isModeMarkVisible(kF3Mark); }

    void meterAt(int hz) {
        bench.meter().setFrequency(hz);
        ASSERT_TRUE(waitUntil([&] { return engine().store().LastFrequency() == hz; }));
    }
    // A key sent while a reconnection has the port closed is lost: it goes
    // again until the meter has it.
    void f3MarkOn() {
        for (int attempt = 0; attempt < 3 && !f3MarkShown(); ++attempt) {
            ASSERT_TRUE(waitUntil([&] { return window->portIM()->isOpen(); }));
            const int before = int(bench.meter().keysReceived().size());
            window->meterLink()->SendKey(13);
            if (waitUntil([&] { return bench.meter().keysReceived().mid(before).contains('\x0d'); },
                          2000))
                break;
        }
        ASSERT_TRUE(waitUntil([&] { return f3MarkShown(); }));
    }
    // The keys the meter takes from now until the change ends. A loaded
    // machine can hold the window past the silence watchdog (300 ms here),
    // and the reconnection that follows sends the enter key of its own.
    QByteArray changeKeys(int target) {
        const int before = int(bench.meter().keysReceived().size());
        engine().beginFreqChange(target);
        EXPECT_TRUE(waitUntil([&] { return engine().stepState().StepTarget == 0; }));
        return bench.meter().keysReceived().mid(before).replace('\x05', QByteArray());
    }

    // Each change of the range model from its start, with the keys it takes.
    void expectTheRangeModelsKeys();

    SimulatedBench bench;
    std::unique_ptr<TestWindow> window;
};

// A meter whose frames come every 15 ms, more often than the step period
// (25 ms with the tests' timers).
class FastMeterStepperTest : public RunStepperTest {
protected:
    FastMeterStepperTest() : RunStepperTest(15) {}
};

void RunStepperTest::expectTheRangeModelsKeys() {
    struct Case {
        int from;
        int to;
        QByteArray keys;
    };
    const Case cases[] = {
        {1000, 5000, QByteArray("\x01\x01")}, // two coarse steps, no fine key
        {1000, 3000, QByteArray("\x01\x06")}, // to the way point 2000, then one fine step up
        {5000, 100, QByteArray(6, '\x09')},   // 2000, 1000, 500, 200, 120, 100
        {130, 125, QByteArray("\x09\x06\x06\x06\x06\x06")}, // way point 120, five fine steps
    };
    engine().beginRun();
    f3MarkOn();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        meterAt(c.from);
        EXPECT_EQ(changeKeys(c.to).toHex(), c.keys.toHex());
        EXPECT_EQ(bench.meter().frequency(), c.to);
        EXPECT_EQ(engine().stepState().StepFinePhase, 1);
        EXPECT_EQ(engine().stepState().StepWaypoint, 0);
    }
}

TEST_F(RunStepperTest, ChangesPressTheKeysOfTheRangeModel) {
    expectTheRangeModelsKeys();
}

// Frames that come faster than the step period never put the step off: the
// changes go on, and no frame sent before a key takes effect adds a key.
TEST_F(FastMeterStepperTest, ChangesPressTheKeysOfTheRangeModel) {
    expectTheRangeModelsKeys();
}

TEST_F(RunStepperTest, F3GoesFirstWhileItsMarkIsOff) {
    ASSERT_FALSE(f3MarkShown());
    engine().beginRun();
    EXPECT_EQ(changeKeys(5000).toHex(), QByteArray("\x0d\x01\x01").toHex());
    EXPECT_EQ(bench.meter().frequency(), 5000);
}

TEST_F(RunStepperTest, WithoutARunTheChangeIsNeverCarriedOut) {
    const int before = int(bench.meter().keysReceived().size());
    engine().beginFreqChange(5000);
    const int frames = bench.meter().framesSent();
    ASSERT_TRUE(waitUntil([&] { return bench.meter().framesSent() >= frames + 5; }));
    EXPECT_TRUE(bench.meter().keysReceived().mid(before).isEmpty());
    EXPECT_EQ(engine().stepState().StepTarget, 5000);
}

// A run stopped between two keys of a change: no key follows, although the
// automatic connection opens the meter again and its frames re-arm the step
// timer; the next start forgets the change.
TEST_F(RunStepperTest, StopDuringAChangeEndsTheKeysAndTheNextStartClearsIt) {
    f3MarkOn();
    window->ui().lblSkipIM->setText(QStringLiteral("2"));
    QObject::connect(&bench.meter(), &SimMeter::keyReceived, window.get(), [this](quint8 key) {
        if (key == 1 && engine().isRunning())
            window->actions().actStop->trigger();
    });
    ASSERT_TRUE(waitUntil([&] { return window->actions().actStart->isEnabled(); }));
    window->actions().actStart->trigger();
    ASSERT_TRUE(engine().isRunning());

    // The capture starts the change 1000 -> 5000; its first key stops the run.
    ASSERT_TRUE(waitUntil([&] { return !engine().isRunning(); }));
    EXPECT_EQ(engine().stepState().StepTarget, 5000);
    const int keysAtStop = int(bench.meter().keysReceived().size());
    ASSERT_TRUE(waitUntil([&] { return engine().portsOpen() && window->portIM()->isOpen(); }));
    const int frames = bench.meter().framesSent();
    ASSERT_TRUE(waitUntil([&] { return bench.meter().framesSent() >= frames + 10; }));
    // Only the enter key of each reopening.
    EXPECT_EQ(bench.meter().keysReceived().mid(keysAtStop).replace('\x05', QByteArray()).toHex(),
              QByteArray());
    EXPECT_EQ(bench.meter().frequency(), 2000);

    ASSERT_TRUE(waitUntil([&] { return window->actions().actStart->isEnabled(); }));
    window->actions().actStart->trigger();
    EXPECT_TRUE(engine().isRunning());
    EXPECT_EQ(engine().stepState().StepTarget, 0);
    EXPECT_EQ(engine().stepState().StepWaypoint, 0);
}

} // namespace
