#pragma once

#include "base/event_rec.h"

#include <QChar>

#include <cstdint>
#include <deque>

// The one store of received meter frames, thermometer lines and link-loss
// ticks. Decodes each meter record and parses each thermometer record on the
// way in, and keeps the latest frequency and temperature.
//
// Only the newest record of a kind is ever read, so each kind keeps a bounded
// history (kHistoryLimit records); Index still counts every record stored.
class TMyStorage {
public:
    static constexpr int kHistoryLimit = 1000;

    // `decimalSeparator` is used for every number the records' texts hold.
    explicit TMyStorage(QChar decimalSeparator);

    // Stores a copy of E by its Kind (1 meter, 2 thermometer; others are
    // ignored). Never throws.
    // Meter record: counts it since the last key press (modulo 256, into
    // SinceKey), stamps it with the previous LastFrequency and the current
    // LastTemperature, then takes its decoded FreqHz as LastFrequency. The
    // caller sets its FreqAfterKeyPress from LastFrequency() after this call.
    // Thermometer record: LastTemperature becomes the record's temperature if
    // the line is valid, NaN (unknown) otherwise.
    void AddEvent(const TEventRec &E);

    // Copies the newest record of `kind` into E with Status 0 and returns
    // true; with no such record E keeps its contents, gets Status 1, and the
    // result is false.
    bool GetLast(uint8_t kind, TEventRec &E) const;

    // The key sender calls this: the next meter record has SinceKey 1.
    void ResetKeyCounter() { m_meterSinceKey = 0; }

    int32_t LastFrequency() const { return m_lastFrequency; }
    // NaN until a valid thermometer line arrives and after any line that is not.
    double LastTemperature() const { return m_lastTemperature; }
    uint8_t MeterSinceKey() const { return m_meterSinceKey; }
    QChar decimalSeparator() const { return m_decimalSeparator; }

    // Records of `kind` currently held (at most kHistoryLimit).
    int heldCount(uint8_t kind) const;
    // Whether a held meter record came from a frame the meter sent (not a
    // link-loss tick, not a frame that failed to decode).
    bool HoldsMeterFrame() const;

private:
    struct History {
        std::deque<TEventRec> records;
        int32_t added = 0;
    };
    const History *historyOf(uint8_t kind) const;
    void append(History &history, TEventRec &&record);

    QChar m_decimalSeparator;
    History m_meterEvents;
    History m_tempEvents;
    uint8_t m_meterSinceKey = 0;
    int32_t m_lastFrequency = 0;
    double m_lastTemperature;
};
