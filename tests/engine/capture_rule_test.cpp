// Which shown meter records become readings, in which cell, and where the
// meter goes next: a table of -50 .. 30 degrees and 100, 1000 and 5000 Hz.
#include "engine/capture_rule.h"
#include "meter/frame_scan.h"
#include "meter_frame.h"
#include "meter_model.h"
#include "model/event_store.h"
#include "run/set_points.h"
#include "thermo/temp_parse.h"
#include "thermo_line.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class Capture {
public:
    explicit Capture(int skip = 1) : m_skip(skip) {
        generateSetPoints(-50, 30, 1, 0.3, QLatin1Char(','), temps);
        for (int hz : {100, 1000, 5000})
            freqs.Add({hz, 2 + freqs.Count(), 0});
    }

    void temperature(double t) {
        store.AddEvent(TempRecordFromLine(MakeThermometerLine(t), QDateTime()));
    }
    // A line whose temperature cannot be read: the temperature becomes unknown.
    void unreadableLine() {
        store.AddEvent(TempRecordFromLine(MakeThermometerLine(20, {}, ThermoLineFault::NonNumeric),
                                          QDateTime()));
    }
    void frames(int hz, int count = 1) {
        const QByteArray frame = EncodeMeterFrame(MeterModel(hz).display(20.0));
        TEventRec E;
        E.Kind = kMeterRecord;
        std::copy(frame.begin(), frame.begin() + kFrameSize - 1, E.RawData.begin());
        for (int i = 0; i < count; ++i)
            store.AddEvent(E);
    }
    // The meter stood at hz for a while: the newest record is stamped with hz.
    void settledAt(int hz) { frames(hz, 2); }
    // What the display refresh decides for the newest meter record.
    CaptureDecision refresh() {
        TEventRec E;
        store.GetLast(kMeterRecord, E);
        return rule.take(E, {temps, freqs, store.LastTemperature(), m_skip, running});
    }

    TMyStorage store{QLatin1Char(',')};
    TTempStorage temps;
    TFreqStorage freqs;
    CaptureRule rule;
    bool running = true;

private:
    int m_skip;
};

// The set point and frequency of a decision's cell; nothing without one.
std::optional<std::pair<double, int>> cellOf(const CaptureDecision &d) {
    if (!d.Place)
        return std::nullopt;
    return std::make_pair(d.Place->Temp.SetPoint, d.Place->Freq.Freq);
}

using Cell = std::optional<std::pair<double, int>>;

TEST(CaptureRule, ASettledReadingFillsTheCellOfItsSetPointAndFrequencyAndMovesOn) {
    Capture c;
    c.temperature(20.0);
    c.settledAt(1000);
    const CaptureDecision d = c.refresh();
    EXPECT_TRUE(d.Taken);
    EXPECT_EQ(cellOf(d), Cell({20.0, 1000}));
    EXPECT_EQ(d.Place->Freq.Col, 3);
    EXPECT_EQ(d.Place->Temp.Row, 71);
    EXPECT_EQ(d.NextFrequency, 5000);
}

// A refresh shows a frame again when no newer one came: one reading for it.
TEST(CaptureRule, AFrameShownTwiceIsOneReading) {
    Capture c;
    c.temperature(20.0);
    c.settledAt(1000);
    EXPECT_TRUE(c.refresh().Place);
    const CaptureDecision again = c.refresh();
    EXPECT_TRUE(again.Taken);
    EXPECT_FALSE(again.Place);
    EXPECT_EQ(again.NextFrequency, 5000);
    c.frames(1000);
    EXPECT_TRUE(c.refresh().Place);
}

TEST(CaptureRule, FramesSinceTheLastKeyMustReachTheSkipCount) {
    Capture c(7);
    c.temperature(20.0);
    c.settledAt(1000);
    c.store.ResetKeyCounter();
    for (int frame = 1; frame <= 6; ++frame) {
        c.frames(1000);
        ASSERT_FALSE(c.refresh().Taken) << "frame " << frame;
    }
    c.frames(1000);
    EXPECT_EQ(cellOf(c.refresh()), Cell({20.0, 1000}));
}

// A record's stamp is the frequency the meter had before it, but the first
// frame after a key the meter has already taken was measured at the new
// frequency: it counts under its own frequency, never the old one. The next
// frequency is still chosen from the stamp; a frequency of no column (a way
// point of a coarse step) fills no cell.
TEST(CaptureRule, TheFrameItselfNamesTheColumnAndItsStampTheNextFrequency) {
    struct Case {
        int settledAt;
        int after; // the first frame after a key
        Cell cell;
        int next;
    };
    const Case cases[] = {
        {1000, 5000, Cell({20.0, 5000}), 5000},
        {1000, 2000, std::nullopt, 5000},
        {5000, 100, Cell({20.0, 100}), 100},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.after);
        Capture c;
        c.temperature(20.0);
        c.settledAt(k.settledAt);
        c.store.ResetKeyCounter();
        c.frames(k.after);
        const CaptureDecision d = c.refresh();
        EXPECT_TRUE(d.Taken);
        EXPECT_EQ(cellOf(d), k.cell);
        EXPECT_EQ(d.NextFrequency, k.next);
    }
}

TEST(CaptureRule, TheNextFrequencyIsTheNextOfTheRunAndWrapsToTheLowest) {
    struct Case {
        int meterHz;
        int next;
        bool written;
    };
    const Case cases[] = {
        {100, 1000, true}, {1000, 5000, true},  {5000, 100, true},
        {50, 100, false},  {2000, 5000, false}, {7000, 100, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.meterHz);
        Capture c;
        c.temperature(20.0);
        c.settledAt(k.meterHz);
        const CaptureDecision d = c.refresh();
        EXPECT_EQ(d.NextFrequency, k.next);
        EXPECT_EQ(cellOf(d), k.written ? Cell({20.0, k.meterHz}) : std::nullopt);
    }
}

TEST(CaptureRule, WithoutARunNothingIsRecordedButTheNextFrequencyIsChosen) {
    Capture c;
    c.running = false;
    c.temperature(20.0);
    c.settledAt(1000);
    const CaptureDecision d = c.refresh();
    EXPECT_TRUE(d.Taken);
    EXPECT_FALSE(d.Place);
    EXPECT_EQ(d.NextFrequency, 5000);
}

// Where the temperature lies decides the row, or that the run waits.
TEST(CaptureRule, TheTemperatureChoosesTheRowOrHoldsTheRun) {
    struct Case {
        double t;
        std::optional<double> setPoint; // none: no cell
        bool taken;
    };
    const Case cases[] = {
        {21.8, 22.0, true},
        {-50.29, -50.0, true},
        {30.29, 30.0, true},
        {21.5, std::nullopt, true},   // between two bands: no cell, the sweep goes on
        {30.31, std::nullopt, false}, // outside the table: the meter stays where it is
        {-50.31, std::nullopt, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.t);
        Capture c;
        c.temperature(k.t);
        c.settledAt(1000);
        const CaptureDecision d = c.refresh();
        EXPECT_EQ(d.Taken, k.taken);
        EXPECT_EQ(cellOf(d), k.setPoint ? Cell({*k.setPoint, 1000}) : std::nullopt);
    }
}

// A thermometer that is lost or sends unreadable lines leaves the temperature
// unknown: nothing can be placed in a row, so the run waits, and it waits too
// for a frame stored while the temperature was unknown.
TEST(CaptureRule, AnUnknownTemperatureHoldsTheRun) {
    Capture c;
    c.unreadableLine();
    c.settledAt(1000);
    EXPECT_FALSE(c.refresh().Taken);

    c.temperature(20.0);
    EXPECT_FALSE(c.refresh().Taken); // the newest frame still carries the unknown temperature

    c.frames(1000);
    EXPECT_EQ(cellOf(c.refresh()), Cell({20.0, 1000}));
}

} // namespace
