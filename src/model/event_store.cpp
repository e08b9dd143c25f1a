#include "model/event_store.h"

#include "meter/meter_decode.h"
#include "thermo/temp_parse.h"

#include <limits>

namespace {
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
}

TMyStorage::TMyStorage(QChar decimalSeparator)
    : m_decimalSeparator(decimalSeparator), m_lastTemperature(kUnknown) {}

void TMyStorage::AddEvent(const TEventRec &E) {
    if (E.Kind == kMeterRecord) {
        m_meterSinceKey = static_cast<uint8_t>(m_meterSinceKey + 1);
        TEventRec record = E;
        record.IM = DecodeMeterPacket(E.RawData, m_decimalSeparator);
        record.Temperature = m_lastTemperature;
        record.Frequency = m_lastFrequency;
        record.SinceKey = m_meterSinceKey;
        m_lastFrequency = record.IM.FreqHz;
        append(m_meterEvents, std::move(record));
    } else if (E.Kind == kTempRecord) {
        TEventRec record = E;
        record.Temp = ParseTempEvent(E, m_decimalSeparator);
        m_lastTemperature = record.Temp.Valid ? record.Temp.TempValue : kUnknown;
        append(m_tempEvents, std::move(record));
    }
}

bool TMyStorage::GetLast(uint8_t kind, TEventRec &E) const {
    const History *history = historyOf(kind);
    if (!history || history->records.empty()) {
        E.Status = 1;
        return false;
    }
    E = history->records.back();
    E.Status = 0;
    return true;
}

int TMyStorage::heldCount(uint8_t kind) const {
    const History *history = historyOf(kind);
    return history ? int(history->records.size()) : 0;
}

const TMyStorage::History *TMyStorage::historyOf(uint8_t kind) const {
    if (kind == kMeterRecord)
        return &m_meterEvents;
    if (kind == kTempRecord)
        return &m_tempEvents;
    return nullptr;
}

void TMyStorage::append(History &history, TEventRec &&record) {
    record.Index = history.added++;
    history.records.push_back(std::move(record));
    if (history.records.size() > std::size_t(kHistoryLimit))
        history.records.pop_front();
}

bool TMyStorage::HoldsMeterFrame() const {
    for (const TEventRec &E : m_meterEvents.records)
        if (E.IM.FreqHz > 0)
            return true;
    return false;
}
