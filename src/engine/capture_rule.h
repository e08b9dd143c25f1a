#pragma once

#include "base/event_rec.h"
#include "run/freq_storage.h"
#include "run/temp_storage.h"

#include <cstdint>
#include <optional>

// Where a reading goes: the set point its temperature matches and the run
// frequency its frame reports.
struct CapturePlace {
    TTempItem Temp;
    TFreqItem Freq;
};

// What the display refresh does with the meter record it shows.
struct CaptureDecision {
    // The record settled after the last key and the temperature, now and when
    // it came, lies in the table's range. Nothing else happens otherwise: a
    // frame whose temperature was unknown cannot be placed in a row, and
    // moving on would skip its frequency for this sweep.
    bool Taken = false;
    // The cell the record fills; none when it becomes no reading.
    std::optional<CapturePlace> Place;
    // The run frequency after the one the record is stamped with (wrapping to
    // the lowest); a value of 1 or less names none.
    int32_t NextFrequency = 0;
};

// The rule that turns shown meter records into readings, the same for the
// window and for a run without one. A refresh may show a frame again before
// the next one arrives (a meter slower than the refresh's period), so a frame
// becomes at most one reading.
class CaptureRule {
public:
    struct Context {
        const TTempStorage &Temps;
        const TFreqStorage &Freqs;
        double Temperature; // the newest, NaN while unknown
        int SkipCount;      // frames that settle after a key
        bool Running;       // only a run records; without one the meter still moves on
    };

    // The column is that of the frequency the frame itself reports: its stamp
    // (E.Frequency, the frame before it) still names the frequency the meter
    // just left when the first frame after a key already counts. A decision
    // with a Place counts E as recorded.
    CaptureDecision take(const TEventRec &E, const Context &c);

private:
    // The event store's Index of the newest record that became a reading.
    std::optional<int32_t> m_lastRecorded;
};
