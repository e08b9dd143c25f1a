#include "journal/journal_replay.h"

#include "base/event_rec.h"
#include "base/number_format.h"
#include "files/measurement_file.h"
#include "meter/meter_decode.h"
#include "run/results_layout.h"
#include "run/set_points.h"

#include <array>
#include <cstdint>
#include <limits>

namespace {

using resultslayout::kActualTemperatureColumn;
using resultslayout::kFirstFrequencyColumn;
using resultslayout::kSetPointColumn;

// What a start does to the storages and the CSV table (the run sequencer's start).
void applyStart(const TJournalStart &start, const TTempStorage &temps, QChar separator,
                TFreqStorage &freqs, TCSVTable &table) {
    freqs.Clear();
    for (int i = 0; i < start.Frequencies.size(); ++i) {
        TFreqItem item;
        item.Freq = start.Frequencies.at(i);
        item.Col = kFirstFrequencyColumn + i;
        freqs.Add(item);
    }
    table.SetTableSize(temps.Count(), freqs.Count());
    for (const TFreqItem &item : freqs.Items)
        table.SetColHeader(item.Freq, item.Index);
    for (const TTempItem &item : temps.Items)
        table.SetRowHeader(item.Index, item.SetPoint, separator);
}

TIMPacket csvPacket(const TJournalReading &r) {
    TIMPacket im;
    im.MainName = r.MainName;
    im.MainBase = r.MainBase;
    im.SecName = r.SecName;
    im.SecBase = r.SecBase;
    return im;
}

// The grid as a dense table of texts; an empty text is an empty cell.
class GridTexts {
public:
    GridTexts(int rows, int cols) : m_cols(cols), m_texts(rows * cols) {}
    void set(int row, int col, const QString &text) {
        if (row < 0 || col < 0 || col >= m_cols || row * m_cols + col >= m_texts.size()) {
            qWarning("run journal: cell (%d, %d) lies outside the run's grid", row, col);
            return;
        }
        m_texts[row * m_cols + col] = text;
    }
    QVector<TJournalGridCell> cells() const {
        QVector<TJournalGridCell> out;
        for (int i = 0; i < m_texts.size(); ++i) {
            if (!m_texts.at(i).isEmpty())
                out.append({i / m_cols, i % m_cols, m_texts.at(i)});
        }
        return out;
    }

private:
    int m_cols;
    QVector<QString> m_texts;
};

} // namespace

TJournalReplay replayRun(const TJournalRun &run) {
    TJournalReplay replay;
    const QChar separator = run.Table.DecimalSeparator;
    replay.TempStorage = run.Table.TempStorage;
    // The grid's column count stays what the table's preparation made it,
    // so every start reads the same number of frequencies.
    const int frequencies =
        run.Segments.isEmpty() ? 0 : int(run.Segments.last().Start.Frequencies.size());
    replay.RowCount = run.Table.SetPointTexts.size() + 1;
    replay.ColCount = kFirstFrequencyColumn + frequencies;

    GridTexts grid(replay.RowCount, replay.ColCount);
    grid.set(0, kSetPointColumn, QString::fromUtf8(kSetPointHeaderText));
    grid.set(0, kActualTemperatureColumn, QString::fromUtf8(kActualTempHeaderText));
    for (int i = 0; i < run.Table.SetPointTexts.size(); ++i)
        grid.set(i + 1, kSetPointColumn, run.Table.SetPointTexts.at(i));
    for (const TJournalActualTemperature &actual : run.ActualTemperatures)
        grid.set(actual.Row, kActualTemperatureColumn, actual.Text);

    // A clearing empties the cell it names as it stood after its reading;
    // the CSV table keeps that reading, as the program did.
    int nextClearing = 0;
    auto clearThrough = [&](qint64 seq) {
        for (; nextClearing < run.Clearings.size() && run.Clearings.at(nextClearing).AfterSeq < seq;
             ++nextClearing)
            grid.set(run.Clearings.at(nextClearing).Row, run.Clearings.at(nextClearing).Col,
                     QString());
    };
    const TJournalReading *last = nullptr;
    for (const TJournalSegment &segment : run.Segments) {
        applyStart(segment.Start, replay.TempStorage, separator, replay.FreqStorage,
                   replay.CSVTable);
        for (const TJournalReading &r : segment.Readings) {
            clearThrough(r.Seq);
            grid.set(r.Row, r.Col, r.CellText);
            StoreReading(replay.CSVTable, csvPacket(r), r.FreqIndex, r.TempIndex);
            last = &r;
        }
    }
    clearThrough(std::numeric_limits<qint64>::max());
    for (const TFreqItem &item : replay.FreqStorage.Items)
        grid.set(0, item.Col, numfmt::general(item.Freq, separator));
    if (last && !last->Frame.isEmpty())
        FillHeaderFromPacket(replay.CSVTable, packetOfFrame(last->Frame, separator));

    replay.Cells = grid.cells();
    return replay;
}

TIMPacket packetOfFrame(const QByteArray &frame, QChar separator) {
    std::array<uint8_t, 60> raw{};
    for (int i = 0; i < frame.size() && i < int(raw.size()); ++i)
        raw[i] = static_cast<uint8_t>(frame.at(i));
    return DecodeMeterPacket(raw, separator);
}
