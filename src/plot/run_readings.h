#pragma once

#include "journal/journal_records.h"
#include "material/admittance.h"

#include <QChar>
#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <vector>

// A recorded reading as the charts and the export use it: the values as
// numbers in the base unit, and units without their prefix. The texts are
// shared between readings, since a long run repeats the same few.
struct TPlotReading {
    static constexpr int kFrameBytes = 21;

    QDateTime Time;
    double SetPoint = 0.0;
    double Temperature = 0.0; // NaN when unknown
    double MainValue = 0.0;   // NaN when the meter's text could not be read
    double SecValue = 0.0;
    int32_t Row = 0;
    int32_t Col = 0;
    int32_t FrequencyHz = 0;
    QString MainName;
    QString MainUnit; // as the meter writes it, without the prefix ("F", "Om", " ")
    QString SecName;
    QString SecUnit;
    std::array<uint8_t, kFrameBytes> FrameBytes{};
    uint8_t FrameSize = 0; // 0 for a reading the journal kept without its frame
    // The parameter codes of the frame, or of the names for a reading kept
    // without one; 0xFF for a name the meter does not show.
    uint8_t MainCode = 0xFF;
    uint8_t SecCode = 0xFF;

    QByteArray frame() const;
    // The displayed pair, as the material conversion takes it.
    TMeterPair pair() const { return {MainCode, MainValue, SecCode, SecValue}; }
};

// The cell a reading was recorded in.
using TCellKey = quint64;
inline TCellKey cellKey(int32_t row, int32_t col) {
    return (quint64(quint32(row)) << 32) | quint32(col);
}

// What one recorded reading changed: the cell's reading before (-1 when the
// cell was empty) and now, as positions in TRunReadings::readings().
struct TReadingUpdate {
    TCellKey Cell = 0;
    int Previous = -1;
    int Current = -1;
};

// Every reading of the current run in recorded order, and the newest one of
// each cell. A cell recorded again keeps its older readings (the export
// lists them all) while the charts and the counts follow the newest.
class TRunReadings {
public:
    // The separator of the base-unit texts of the readings add() is given.
    explicit TRunReadings(QChar decimalSeparator);

    void clear();
    // Everything recorded in `run`, start after start, with its own separator.
    void loadRun(const TJournalRun &run);
    TReadingUpdate add(const TJournalReading &reading);

    const QVector<TPlotReading> &readings() const { return m_readings; }
    // Cell -> position of its newest reading.
    const QHash<TCellKey, int> &cells() const { return m_cells; }
    // Whether the reading at `position` is the newest of its cell: walking
    // the readings in order with it visits the cells without a lookup each.
    bool isNewest(int position) const { return m_newest[position]; }
    // The newest reading of a cell, or nullptr when it has none.
    const TPlotReading *latest(int32_t row, int32_t col) const;
    int filledCellCount() const { return int(m_cells.size()); }
    // Cells of a grid row holding a reading.
    int filledInRow(int32_t row) const;

private:
    TReadingUpdate append(const TJournalReading &reading, QChar separator);
    QString shared(const QString &text);
    QString sharedBaseUnit(const QString &unitText);

    QChar m_separator;
    QVector<TPlotReading> m_readings;
    std::vector<bool> m_newest;
    QHash<TCellKey, int> m_cells;
    QVector<int> m_filledByRow;
    // The few distinct names and units of a run, looked up by a scan.
    QVector<QString> m_texts;
    QVector<QPair<QString, QString>> m_baseUnits; // unit text -> its unit without the prefix
};
