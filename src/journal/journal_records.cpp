#include "journal/journal_records.h"

#include "base/event_rec.h"

namespace {

// A meter record holds the frame from its start byte up to, not including,
// the checksum byte.
constexpr int kFrameBytes = 21;

} // namespace

TJournalReading journalReadingOf(const TEventRec &E, const TTempItem &ti, const TFreqItem &fi,
                                 const QString &cellText) {
    TJournalReading r;
    r.Row = ti.Row;
    r.Col = fi.Col;
    r.TempIndex = ti.Index;
    r.FreqIndex = fi.Index;
    r.Time = E.Time;
    r.SetPoint = ti.SetPoint;
    r.Temperature = E.Temperature;
    r.FrequencyHz = E.IM.FreqHz;
    r.Frame = QByteArray(reinterpret_cast<const char *>(E.RawData.data()), kFrameBytes);
    r.MainName = E.IM.MainName;
    r.MainValue = E.IM.MainValue;
    r.MainUnit = E.IM.MainUnit;
    r.MainBase = E.IM.MainBase;
    r.SecName = E.IM.SecName;
    r.SecValue = E.IM.SecValue;
    r.SecUnit = E.IM.SecUnit;
    r.SecBase = E.IM.SecBase;
    r.CellText = cellText;
    return r;
}
