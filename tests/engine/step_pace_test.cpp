// The pace of the frequency keys against the meter's frame rate, on a clock
// the test advances: the first frame after a key makes the next step due one
// step period later, and faster frames never push it back.
#include "engine/run_clock.h"
#include "engine/run_engine.h"
#include "meter/key_codes.h"
#include "meter_model.h"
#include "thermo_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr qint64 kStepPeriodMs = RunEngine::kStepPeriodMs;

struct Key {
    qint64 at;
    uint8_t code;
};

// A run of 1000 and 5000 Hz at 20 degrees whose meter starts at 1000 Hz. The
// simulated meter shows a key's effect in its next frame, or `staleFrames`
// frames later (frames on their way when the key came), and may lose keys.
class PacedRun {
public:
    PacedRun(int skip, int staleFrames = 0, bool f3On = true) : m_staleFrames(staleFrames) {
        if (f3On)
            meter.pressKey(meterkey::F3);
        shown = meter;
        engine.setKeySender([this](uint8_t code) {
            press(code);
            return true;
        });
        QObject::connect(&engine, &RunEngine::readingRecorded, [this](const TJournalReading &r) {
            readings.push_back({clock.elapsedMs(), r.FrequencyHz});
        });
        RunParameters p;
        p.TempInit = 20;
        p.TempFinal = 21;
        p.Frequencies = {1000, 5000};
        engine.prepareTable(p);
        engine.setPortsOpen(true);
        // The first frame has no frequency before it; the one after it is
        // stamped with 1000 Hz, so the first reading starts the change to 5000.
        engine.thermometerLine(MakeThermometerLine(20.0).trimmed());
        frameArrives();
        engine.start(skip);
    }

    // Frames every frameMs and thermometer lines every second from time 0,
    // and whatever falls due in between, until a reading at 5000 Hz.
    void runTo5000(qint64 frameMs, qint64 limitMs) {
        qint64 nextFrame = 0;
        qint64 nextLine = 0;
        while (clock.elapsedMs() < limitMs && !readAt(5000)) {
            qint64 next = std::min(nextFrame, nextLine);
            if (const std::optional<qint64> due = engine.nextDueMs())
                next = std::min(next, *due);
            clock.advance(next - clock.elapsedMs());
            const qint64 now = clock.elapsedMs();
            if (now == nextLine) {
                engine.thermometerLine(MakeThermometerLine(20.0).trimmed());
                nextLine += 1000;
            }
            if (now == nextFrame) {
                frameArrives();
                frames.push_back(now);
                nextFrame += frameMs;
            }
            engine.advance();
        }
    }

    bool readAt(int hz) const {
        return std::any_of(readings.begin(), readings.end(),
                           [hz](const Reading &r) { return r.hz == hz; });
    }
    // When the change to 5000 Hz began: the reading at 1000 Hz starts it.
    qint64 changeBegan() const { return readings.at(0).at; }
    // The first frame after a key at `t`: one that came at the same moment was
    // read before the key was decided.
    qint64 frameAfter(qint64 t) const { return *std::upper_bound(frames.begin(), frames.end(), t); }

    int keysToLose = 0;
    MeterModel meter{1000};
    MeterModel shown; // what the frames show
    ManualRunClock clock;
    RunEngine engine{clock, QLatin1Char(',')};
    struct Reading {
        qint64 at;
        int hz;
    };
    std::vector<Reading> readings;
    std::vector<Key> keys;
    std::vector<qint64> frames;

    void frameArrives() {
        if (m_framesUntilShown > 0)
            --m_framesUntilShown;
        else
            shown = meter;
        const QByteArray frame = EncodeMeterFrame(shown.display(20.0));
        std::array<uint8_t, 60> raw{};
        std::copy(frame.begin(), frame.begin() + kMeterFrameSize - 1, raw.begin());
        engine.meterFrame(raw);
    }

private:
    void press(uint8_t code) {
        keys.push_back({clock.elapsedMs(), code});
        if (keysToLose > 0) {
            --keysToLose;
            return;
        }
        meter.pressKey(code);
        m_framesUntilShown = m_staleFrames;
    }

    int m_staleFrames;
    int m_framesUntilShown = 0;
};

// 1000 -> 5000 Hz is two coarse keys. A meter slower than the step's period
// sees each key 250 ms after the frame that followed the key before; a faster
// one 250 ms after the first of the frames that followed, however many more
// come meanwhile: never later than a period after the step fell due.
TEST(RunEngineStepPace, EveryKeyFollowsTheFirstFrameAfterTheKeyBefore) {
    for (const qint64 frameMs : {400, 100, 50}) {
        SCOPED_TRACE(frameMs);
        PacedRun run(1);
        run.runTo5000(frameMs, 20000);
        ASSERT_TRUE(run.readAt(5000)) << "the change stalled";
        ASSERT_EQ(run.keys.size(), 2u);
        EXPECT_EQ(run.keys[0].code, meterkey::Right);
        EXPECT_EQ(run.keys[1].code, meterkey::Right);
        EXPECT_EQ(run.keys[0].at, run.changeBegan() + kStepPeriodMs);
        EXPECT_EQ(run.keys[1].at, run.frameAfter(run.keys[0].at) + kStepPeriodMs);
    }
}

// A step that fell due while a frame waited to be read is decided after it,
// from that frame, and at once rather than a period later.
TEST(RunEngineStepPace, AStepDueWhileAFrameWaitsFollowsIt) {
    PacedRun run(0);
    run.clock.advance(100);
    run.frameArrives();
    run.clock.advance(200); // the refresh records 1000 Hz; the change's first step is due at 550
    run.engine.advance();
    ASSERT_EQ(run.engine.stepState().StepTarget, 5000);
    run.clock.advance(260);
    const int before = run.engine.store().MeterSinceKey();
    run.frameArrives();
    EXPECT_TRUE(run.keys.empty());
    EXPECT_EQ(run.engine.store().MeterSinceKey(), before + 1);
    run.engine.advance();
    ASSERT_EQ(run.keys.size(), 1u);
    EXPECT_EQ(run.keys[0].at, run.clock.elapsedMs());
}

// Frames that were on their way when a key went out still show the old
// frequency; taking one for the meter's answer would press the key again and
// overshoot. A key the meter lost is pressed again once the frames that settle
// a reading have shown nothing happen.
TEST(RunEngineStepPace, AKeyIsDecidedFromAFrameThatShowsTheKeyBefore) {
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
        PacedRun run(6, c.staleFrames);
        run.keysToLose = c.keysLost;
        run.runTo5000(c.frameMs, 60000);
        ASSERT_TRUE(run.readAt(5000)) << "the change stalled";
        EXPECT_EQ(run.meter.frequency(), 5000);
        EXPECT_EQ(run.keys.size(), 2u + c.keysLost) << "no key beyond the lost ones";
        for (const Key &key : run.keys)
            EXPECT_EQ(key.code, meterkey::Right);
    }
}

// During a run the meter's frequency keys act only with its F3 mark on: F3
// goes first, once, while the newest frame shows the mark off.
TEST(RunEngineStepPace, F3GoesFirstWhileTheMarkIsOff) {
    for (const bool f3On : {false, true}) {
        SCOPED_TRACE(f3On ? "mark on" : "mark off");
        PacedRun run(1, 0, f3On);
        run.runTo5000(400, 20000);
        ASSERT_TRUE(run.readAt(5000));
        std::vector<uint8_t> codes;
        for (const Key &key : run.keys)
            codes.push_back(key.code);
        std::vector<uint8_t> expected = {meterkey::Right, meterkey::Right};
        if (!f3On)
            expected.insert(expected.begin(), meterkey::F3);
        EXPECT_EQ(codes, expected);
    }
}

// The display refresh runs every 200 ms and shows a frame again when no newer
// one came: whatever the frame rate, each frame is at most one reading.
TEST(RunEngineStepPace, AFrameIsAtMostOneReading) {
    for (const qint64 frameMs : {1000, 400, 250, 150}) {
        SCOPED_TRACE(frameMs);
        PacedRun run(1);
        std::vector<QDateTime> frameTimes;
        QObject::connect(&run.engine, &RunEngine::readingRecorded,
                         [&](const TJournalReading &r) { frameTimes.push_back(r.Time); });
        run.runTo5000(frameMs, 20000);
        ASSERT_GE(frameTimes.size(), 2u);
        std::sort(frameTimes.begin(), frameTimes.end());
        EXPECT_EQ(std::adjacent_find(frameTimes.begin(), frameTimes.end()), frameTimes.end());
    }
}

} // namespace
