// The pace of the frequency keys against the meter's frame rate, on a clock
// the test advances: the first frame after a key makes the next step due one
// period of tmrNewFreq later, and faster frames never push it back.
#include "control/freq_stepper.h"
#include "freq_keys.h"
#include "meter/frame_scan.h"
#include "meter_frame.h"
#include "meter_model.h"
#include "model/app_state.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr qint64 kStepPeriodMs = 250;

struct Key {
    qint64 at;
    uint8_t code;
};

// A run with both ports open, the meter in F3 mode, which its frames show
// (so no F3 key goes first), and a simulated meter that shows a key's effect in its next frame,
// or `staleFrames` frames later (frames on their way when the key came).
class StepPacing {
public:
    explicit StepPacing(int staleFrames = 0)
        : stepper(
              state, [this](uint8_t code) { press(code); }, nullptr, [this] { return now; }),
          staleFrames(staleFrames) {
        state.RunActive = 1;
        state.PortsOpen = 1;
        meter.pressKey(simkey::F3);
        shown = meter;
    }

    // One notification with one frame, as the meter link reads it.
    void frameArrives() {
        if (framesUntilShown > 0)
            --framesUntilShown;
        else
            shown = meter;
        stepper.holdStep();
        const QByteArray frame = EncodeMeterFrame(shown.display(20.0));
        TEventRec E;
        E.Kind = kMeterRecord;
        std::copy(frame.begin(), frame.begin() + kFrameSize - 1, E.RawData.begin());
        state.EventStore.AddEvent(E);
        stepper.frameAccepted();
        stepper.resumeStep();
    }

    // The step timer fires when it is running and its time has come.
    std::optional<qint64> stepTimeout() const {
        if (!stepper.tmrNewFreq()->isActive() || !stepper.stepDueAt())
            return std::nullopt;
        return std::max(now, *stepper.stepDueAt());
    }

    // Frames every frameMs from time 0 while the change runs, and the step
    // timer's timeouts in between; a timeout that meets a frame goes first.
    void runChange(int target, qint64 frameMs, qint64 limitMs) {
        frameArrives();
        stepper.BeginFreqChange(target);
        qint64 nextFrame = frameMs;
        while (state.Step.StepTarget != 0 && now < limitMs) {
            const std::optional<qint64> timeout = stepTimeout();
            if (timeout && *timeout <= nextFrame) {
                now = *timeout;
                stepper.tmrNewFreqTimer();
                steps.push_back(now);
            } else {
                now = nextFrame;
                nextFrame += frameMs;
                frameArrives();
                frames.push_back(now);
            }
        }
    }

    // As the meter link sends a key; the meter may lose it.
    void press(uint8_t code) {
        keys.push_back({now, code});
        state.FreqAtKeyPress =
            meterkey::isFrequencyKey(code) ? state.EventStore.LastFrequency() : 0;
        if (keysToLose > 0) {
            --keysToLose;
        } else {
            meter.pressKey(code);
            framesUntilShown = staleFrames;
        }
        state.EventStore.ResetKeyCounter();
    }

    TAppState state{QLatin1Char(',')};
    MeterModel meter{1000};
    MeterModel shown; // what the frames show
    qint64 now = 0;
    TFreqStepper stepper;
    int staleFrames;
    int framesUntilShown = 0;
    int keysToLose = 0;
    std::vector<Key> keys;
    std::vector<qint64> steps;
    std::vector<qint64> frames;
};

// 1000 -> 5000 Hz is two coarse keys and a step that finds the target. A
// meter slower than the step's period sees each step 250 ms after the frame
// that followed the key before; a faster one sees it 250 ms after the first
// of the frames that followed, however many more come meanwhile.
TEST(StepPacing, EveryStepFollowsTheFirstFrameAfterTheKeyBefore) {
    for (const qint64 frameMs : {400, 100, 50}) {
        SCOPED_TRACE(frameMs);
        StepPacing run;
        run.runChange(5000, frameMs, 10000);
        ASSERT_EQ(run.state.Step.StepTarget, 0) << "the change stalled";
        EXPECT_EQ(run.meter.frequency(), 5000);
        ASSERT_EQ(run.keys.size(), 2u);
        EXPECT_EQ(run.keys[0].code, simkey::Right);
        EXPECT_EQ(run.keys[1].code, simkey::Right);

        // The change began at time 0; after that, each step is due a period
        // after the first frame at or after the step before.
        ASSERT_EQ(run.steps.size(), 3u);
        qint64 dueFrom = 0;
        for (const qint64 step : run.steps) {
            EXPECT_EQ(step, dueFrom + kStepPeriodMs);
            const auto frame = std::lower_bound(run.frames.begin(), run.frames.end(), step);
            if (frame != run.frames.end())
                dueFrom = *frame;
        }
    }
}

// Frames that were on their way when a key went out still show the old
// frequency; taking one for the meter's answer would press the key again and
// overshoot. A key the meter lost is pressed again once the frames the capture
// lets settle (SkipPacketCount) have shown nothing happen.
TEST(StepPacing, AKeyIsDecidedFromAFrameThatShowsTheKeyBefore) {
    struct Case {
        const char *name;
        int staleFrames;
        int keysLost;
        qint64 frameMs;
    };
    const Case cases[] = {
        {"one frame on its way, 400 ms", 1, 0, 400},    {"one frame on its way, 100 ms", 1, 0, 100},
        {"three frames on their way, 50 ms", 3, 0, 50}, {"the first key lost, 400 ms", 0, 1, 400},
        {"the first key lost, 50 ms", 0, 1, 50},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StepPacing run(c.staleFrames);
        run.keysToLose = c.keysLost;
        run.runChange(5000, c.frameMs, 60000);
        ASSERT_EQ(run.state.Step.StepTarget, 0) << "the change stalled";
        EXPECT_EQ(run.meter.frequency(), 5000);
        EXPECT_EQ(run.keys.size(), 2u + c.keysLost) << "no key beyond the lost ones";
        for (const Key &key : run.keys)
            EXPECT_EQ(key.code, simkey::Right);
    }
}

// A step that falls due while a notification is being read waits for its end,
// then goes at once rather than a period later.
TEST(StepPacing, AStepDueDuringANotificationFollowsItsEnd) {
    StepPacing run;
    run.frameArrives();
    run.stepper.BeginFreqChange(5000);
    ASSERT_EQ(run.stepper.stepDueAt(), std::optional<qint64>(kStepPeriodMs));

    run.now = 200;
    run.stepper.holdStep();
    EXPECT_FALSE(run.stepper.tmrNewFreq()->isActive());
    run.now = 300;
    run.stepper.resumeStep();
    EXPECT_TRUE(run.stepper.tmrNewFreq()->isActive());
    EXPECT_EQ(run.stepper.tmrNewFreq()->interval(), 0);
    EXPECT_EQ(run.stepTimeout(), std::optional<qint64>(300));
}

} // namespace
