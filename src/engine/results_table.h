#pragma once

#include "base/event_rec.h"
#include "run/set_points.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A reading as its results cell shows it: the main reading, a dashed line and
// the secondary reading; the grid draws each ";" as a line break.
QString resultsCellText(const TIMPacket &im);

// The results of a table: one row per set point, one column per frequency
// typed for the run, each cell's text and whether a reading filled it, each
// row's actual temperature, and whether the table holds data of a run (as
// opposed to a table just prepared). Rows and columns count from 0 here;
// results_layout.h says where they sit in the grid.
class ResultsTable {
public:
    enum class CellState { Empty, Recorded };
    struct Cell {
        QString Text;
        CellState State = CellState::Empty;
    };

    // A fresh table: no readings, no actual temperatures, no run data.
    void layOut(const QVector<SetPointRow> &setPoints, const QStringList &frequencyTexts);

    int rowCount() const { return m_setPoints.size(); }
    int columnCount() const { return m_frequencyTexts.size(); }
    const QVector<SetPointRow> &setPoints() const { return m_setPoints; }

    // The frequency row as typed; a run reads it when it starts.
    const QStringList &frequencyTexts() const { return m_frequencyTexts; }
    // The user typed into a frequency cell; out of range changes nothing.
    void setFrequencyText(int column, const QString &text);

    // Out of range: an empty cell.
    Cell cell(int row, int column) const;
    // False (and nothing written) when the cell lies outside the table.
    bool record(int row, int column, const QString &text);
    // The user emptied a cell.
    void clear(int row, int column);

    QString actualTemperature(int row) const { return m_actual.value(row); }
    void setActualTemperature(int row, const QString &text);

    bool holdsRunData() const { return m_holdsRunData; }
    void setHoldsRunData(bool holds) { m_holdsRunData = holds; }

    int recordedCount() const { return m_recorded; }
    int fillableCount() const { return m_fillable; }
    // Every cell a run can fill holds a reading. A set point laid out beyond
    // the table's range (the last row of a step that passes the final
    // temperature) takes no readings, so its cells do not count.
    bool isFull() const { return m_fillable > 0 && m_recorded >= m_fillable; }

private:
    int indexOf(int row, int column) const;

    QVector<SetPointRow> m_setPoints;
    QStringList m_frequencyTexts;
    QVector<Cell> m_cells; // row by row
    QStringList m_actual;
    int m_recorded = 0;
    int m_fillable = 0;
    bool m_holdsRunData = false;
};
