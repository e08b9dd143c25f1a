#include "run/freq_stepping.h"
#include "run/freq_worker.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FreqWorker, NearestBoundPicksTheCloserBoundTiesGoingDown) {
    TFreqWorker worker;
    const struct {
        int f, bound;
    } cases[] = {
        {50, 50},     {75, 60},     {80, 60}, {81, 100},          {3000, 2000},
        {4000, 5000}, {3500, 2000}, {25, 25}, {1000000, 1000000}, {125, 120},
        {24, 0},      {1000001, 0}, {0, 0},   {-100, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NearestBound(worker, c.f), c.bound) << c.f;
}

TEST(FreqWorker, FirstLookupOnAZeroedWorkerFillsTheTable) {
    TFreqWorker worker;
    ASSERT_EQ(worker.Ready, 0);
    EXPECT_EQ(NearestBound(worker, 75), 60);
    EXPECT_EQ(worker.Ready, 1);
    EXPECT_EQ(worker.RangeCount, 16);
    EXPECT_EQ(worker.HalfCount, 8);
    EXPECT_EQ(worker.Ranges[0].Lo, 25);
    EXPECT_EQ(worker.Ranges[15].Hi, 1000000);
    for (int i = 1; i < worker.RangeCount; ++i)
        EXPECT_EQ(worker.Ranges[i].Lo, worker.Ranges[i - 1].Hi) << i;
}

TEST(FreqWorker, CoarseAndFineKeysPointTowardsTheGoal) {
    EXPECT_EQ(CoarseKey(5000, 2000), freqkeys::CoarseDown);
    EXPECT_EQ(CoarseKey(1000, 2000), freqkeys::CoarseUp);
    EXPECT_EQ(CoarseKey(2000, 2000), std::nullopt);
    EXPECT_EQ(FineKey(3000, 2000), freqkeys::FineDown);
    EXPECT_EQ(FineKey(120, 125), freqkeys::FineUp);
    EXPECT_EQ(FineKey(125, 125), freqkeys::FineUp);
}

// A meter that follows its keys the way the range table describes them.
class MeterModel {
public:
    explicit MeterModel(int freq) : m_freq(freq) { FillRanges(m_table); }

    int freq() const { return m_freq; }

    void press(uint8_t key) {
        for (int i = 0; i < m_table.RangeCount; ++i) {
            const TFreqRange &r = m_table.Ranges[i];
            if (key == freqkeys::CoarseUp && r.Lo <= m_freq && m_freq < r.Hi) {
                m_freq = r.Hi;
                return;
            }
            if (key == freqkeys::CoarseDown && r.Lo < m_freq && m_freq <= r.Hi) {
                m_freq = r.Lo;
                return;
            }
            if (key == freqkeys::FineUp && r.Lo <= m_freq && m_freq < r.Hi) {
                m_freq += r.Step;
                return;
            }
            if (key == freqkeys::FineDown && r.Lo < m_freq && m_freq <= r.Hi) {
                m_freq -= r.Step;
                return;
            }
        }
    }

private:
    TFreqWorker m_table;
    int m_freq;
};

// The step timer's pacing: armed by each valid frame, disarmed after every tick.
struct SteppingBench {
    explicit SteppingBench(int meterFreq) : meter(meterFreq) {}

    void begin(int target) {
        state = BeginFreqChange(state, target);
        timerArmed = true;
    }

    // One expiry of the step timer; a pressed key makes the meter answer with
    // a frame unless the frame is lost.
    void tick(bool frameLost = false) {
        if (!timerArmed)
            return;
        timerArmed = false;
        if (!stepDue(true, true, state))
            return;
        const TStepDecision d = decideFreqStep(state, meter.freq(), worker);
        state = d.State;
        completed = completed || d.Completed;
        if (d.Key) {
            keys.push_back(*d.Key);
            meter.press(*d.Key);
            timerArmed = !frameLost;
        }
    }

    MeterModel meter;
    TFreqWorker worker;
    TStepState state;
    bool timerArmed = false;
    bool completed = false;
    std::vector<uint8_t> keys;
};

TEST(FreqStepping, ChangesReachTheTargetWithTheExpectedKeys) {
    const struct Case {
        int from, target;
        std::vector<uint8_t> keys;
    } cases[] = {
        {1000, 5000, {1, 1}},           {1000, 3000, {1, 6}}, {5000, 100, {9, 9, 9, 9, 9, 9}},
        {130, 125, {9, 6, 6, 6, 6, 6}}, {2000, 2000, {}},     {100, 107, {6, 6, 6, 6, 6, 6, 6}},
        {1000, 50000, {1, 1, 1, 1, 1}},
    };
    for (const Case &c : cases) {
        SteppingBench bench(c.from);
        bench.begin(c.target);
        // Each key produces one frame; the tick after the last one completes.
        for (size_t i = 0; i <= c.keys.size(); ++i)
            bench.tick();
        EXPECT_EQ(bench.keys, c.keys) << c.from << " -> " << c.target;
        EXPECT_TRUE(bench.completed) << c.from << " -> " << c.target;
        EXPECT_EQ(bench.meter.freq(), c.target);
        EXPECT_EQ(bench.state.StepTarget, 0);
        EXPECT_EQ(bench.state.StepWaypoint, 0);
        EXPECT_EQ(bench.state.StepFinePhase, 1);
        EXPECT_FALSE(bench.timerArmed) << "no step after completion";
    }
}

TEST(FreqStepping, WaypointIsTheBoundNearestToTheTarget) {
    const struct {
        int from, target, waypoint;
    } cases[] = {{1000, 3000, 2000}, {130, 125, 120}, {5000, 100, 100}, {1000, 5000, 5000}};
    for (const auto &c : cases) {
        TFreqWorker worker;
        const TStepDecision d = decideFreqStep(BeginFreqChange({}, c.target), c.from, worker);
        EXPECT_EQ(d.State.StepWaypoint, c.waypoint) << c.from << " -> " << c.target;
        EXPECT_EQ(d.State.StepFinePhase, 0);
        EXPECT_EQ(d.State.StepCurrentFreq, c.from);
    }
}

TEST(FreqStepping, AtTheWaypointTheSameStepPressesAFineKey) {
    TFreqWorker worker;
    TStepState state = BeginFreqChange({}, 3000);
    state = decideFreqStep(state, 1000, worker).State; // way point 2000, key 1
    const TStepDecision d = decideFreqStep(state, 2000, worker);
    EXPECT_EQ(d.Key, freqkeys::FineUp);
    EXPECT_EQ(d.State.StepFinePhase, 1);
    EXPECT_FALSE(d.Completed);
}

TEST(FreqStepping, NoFrameAfterAKeyMeansNoFurtherStep) {
    SteppingBench bench(1000);
    bench.begin(5000);
    bench.tick(/*frameLost=*/true);
    ASSERT_EQ(bench.keys, std::vector<uint8_t>{1});
    for (int i = 0; i < 5; ++i)
        bench.tick();
    EXPECT_EQ(bench.keys.size(), 1u) << "a key was pressed without a new frame";
    EXPECT_FALSE(bench.completed);

    // The next frame re-arms the timer and the change goes on.
    bench.timerArmed = true;
    bench.tick();
    bench.tick();
    EXPECT_EQ(bench.keys, (std::vector<uint8_t>{1, 1}));
    EXPECT_TRUE(bench.completed);
}

TEST(FreqStepping, BeginRestartsTheCoarsePhase) {
    TStepState state;
    state.StepWaypoint = 2000;
    state.StepFinePhase = 1;
    state.StepCurrentFreq = 1500;
    state = BeginFreqChange(state, 100);
    EXPECT_EQ(state.StepTarget, 100);
    EXPECT_EQ(state.StepWaypoint, 0);
    EXPECT_EQ(state.StepFinePhase, 0);
}

TEST(FreqStepping, StepIsDueOnlyDuringARunWithOpenPortsAndATarget) {
    const TStepState changing = BeginFreqChange({}, 1000);
    const TStepState idle;
    EXPECT_TRUE(stepDue(true, true, changing));
    EXPECT_FALSE(stepDue(false, true, changing));
    EXPECT_FALSE(stepDue(true, false, changing));
    EXPECT_FALSE(stepDue(true, true, idle));
}

TEST(FreqStepping, F3IsPressedOnlyDuringARunWithoutTheMark) {
    EXPECT_TRUE(needsF3(false, true));
    EXPECT_FALSE(needsF3(true, true));
    EXPECT_FALSE(needsF3(false, false));
    EXPECT_FALSE(needsF3(true, false));
}

} // namespace
