#include "engine/results_table.h"

QString resultsCellText(const TIMPacket &im) {
    const QChar blank = QLatin1Char(' ');
    return im.MainName + blank + im.MainValue + blank + im.MainUnit + QLatin1String(";---------;") +
           blank + im.SecName + blank + im.SecValue + blank + im.SecUnit;
}

void ResultsTable::layOut(const QVector<SetPointRow> &setPoints,
                          const QStringList &frequencyTexts) {
    m_setPoints = setPoints;
    m_frequencyTexts = frequencyTexts;
    m_cells = QVector<Cell>(setPoints.size() * frequencyTexts.size());
    m_actual = QStringList();
    for (int row = 0; row < setPoints.size(); ++row)
        m_actual << QString();
    m_recorded = 0;
    m_fillable = 0;
    for (const SetPointRow &row : setPoints)
        if (row.stored)
            m_fillable += frequencyTexts.size();
    m_holdsRunData = false;
}

int ResultsTable::indexOf(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return -1;
    return row * columnCount() + column;
}

void ResultsTable::setFrequencyText(int column, const QString &text) {
    if (column >= 0 && column < m_frequencyTexts.size())
        m_frequencyTexts[column] = text;
}

ResultsTable::Cell ResultsTable::cell(int row, int column) const {
    const int index = indexOf(row, column);
    return index < 0 ? Cell() : m_cells[index];
}

bool ResultsTable::record(int row, int column, const QString &text) {
    const int index = indexOf(row, column);
    if (index < 0)
        return false;
    Cell &target = m_cells[index];
    if (target.State == CellState::Empty)
        ++m_recorded;
    target = Cell{text, CellState::Recorded};
    return true;
}

void ResultsTable::clear(int row, int column) {
    const int index = indexOf(row, column);
    if (index < 0)
        return;
    if (m_cells[index].State == CellState::Recorded)
        --m_recorded;
    m_cells[index] = Cell();
}

void ResultsTable::setActualTemperature(int row, const QString &text) {
    if (row >= 0 && row < m_actual.size())
        m_actual[row] = text;
}
