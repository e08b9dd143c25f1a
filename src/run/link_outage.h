#pragma once

#include <QDateTime>

// The two instruments of the bench, as the journal numbers them.
enum class TInstrument { Meter = 1, Thermometer = 2 };

// A time during a run in which an instrument sent nothing usable: from its
// last data (or the run's start, if later) to its next data (or the run's
// stop). End is invalid while the silence goes on.
struct TLinkOutage {
    TInstrument Instrument = TInstrument::Meter;
    QDateTime Start;
    QDateTime End;

    bool operator==(const TLinkOutage &other) const {
        return Instrument == other.Instrument && Start == other.Start && End == other.End;
    }
};
