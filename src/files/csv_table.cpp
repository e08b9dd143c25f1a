#include "files/csv_table.h"

#include "base/cp1251.h"
#include "base/number_format.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>

namespace {

const QStringView kUnwritten = u"*";

// Whole numbers never show a decimal separator, whichever is passed.
QString integerText(int value) {
    return numfmt::general(static_cast<double>(value), QLatin1Char('.'));
}

} // namespace

bool TCSVTable::SetTableSize(int rows, int cols) {
    if (rows < 0 || cols < 0)
        return false;
    m_gridRows = rows;
    m_gridCols = cols;
    if (m_initialized && rows == 0 && cols == 0) {
        for (TParamTable &grid : m_params)
            grid.clear();
        m_paramNames.clear();
        m_rowHeaders.clear();
        m_colHeaders.clear();
    }
    m_rowHeaders.resize(rows);
    m_colHeaders.resize(cols);
    m_initialized = true;
    return true;
}

bool TCSVTable::SetRowHeader(int index, double value, QChar decimalSeparator) {
    if (index < 0 || index >= m_rowHeaders.size())
        return false;
    m_rowHeaders[index] = numfmt::fourDigits(value, decimalSeparator);
    return true;
}

bool TCSVTable::SetColHeader(int value, int index) {
    if (index < 0 || index >= m_colHeaders.size())
        return false;
    m_colHeaders[index] = integerText(value);
    return true;
}

void TCSVTable::SetHeaderInfo(const QString &limit, const QString &level, const QString &offset) {
    m_limit = limit;
    m_level = level;
    m_offset = offset;
}

void TCSVTable::AddParam(const QString &name) {
    const int n = m_paramNames.size();
    m_paramNames.append(name);
    // Grids left over from the clearing call are dropped here.
    m_params.resize(n + 1);
    m_params[n] = TParamTable(m_gridRows, QStringList(m_gridCols, kUnwritten.toString()));
}

int TCSVTable::indexOf(const QString &name) const {
    return m_paramNames.indexOf(name);
}

int TCSVTable::FindParam(const QString &name) {
    const int found = indexOf(name);
    if (found >= 0)
        return found;
    AddParam(name);
    return m_paramNames.size() - 1;
}

bool TCSVTable::SetCell(const QString &name, const QString &value, int col, int row) {
    // Checked before FindParam so that a bad index does not create a grid.
    int p = indexOf(name);
    if (p >= 0) {
        const TParamTable &grid = m_params.at(p);
        if (row < 0 || row >= grid.size() || col < 0 || col >= grid.at(row).size())
            return false;
    } else {
        if (row < 0 || row >= m_gridRows || col < 0 || col >= m_gridCols)
            return false;
        p = FindParam(name);
    }
    m_params[p][row][col] = value;
    return true;
}

// The layout is walked twice, once to count characters and once to append
// them, so the text is allocated exactly once however large the table.
template <typename Sink> void TCSVTable::writeText(const Sink &out) const {
    for (int p = 0; p < m_paramNames.size(); ++p) {
        const TParamTable &grid = m_params.at(p);
        out(m_paramNames.at(p));
        out(u";\r\n");
        out(u"Limit = ");
        out(m_limit);
        out(u";Offset = ");
        out(m_offset);
        out(u";Level = ");
        out(m_level);
        out(u";\r\n");
        out(u"t;");
        for (const QString &title : m_colHeaders) {
            out(title);
            out(u";");
        }
        out(u"\r\n");
        for (int r = 0; r < m_rowHeaders.size(); ++r) {
            out(m_rowHeaders.at(r));
            out(u";");
            // A grid created before the titles grew is shorter than them.
            const QStringList *cells = r < grid.size() ? &grid.at(r) : nullptr;
            for (int c = 0; c < m_colHeaders.size(); ++c) {
                if (cells && c < cells->size() && cells->at(c) != kUnwritten)
                    out(cells->at(c));
                out(u";");
            }
            out(u"\r\n");
        }
    }
}

QString TCSVTable::TableToText() const {
    qsizetype length = 0;
    writeText([&length](QStringView piece) { length += piece.size(); });
    QString text(length, Qt::Uninitialized);
    QChar *out = text.data();
    writeText([&out](QStringView piece) { out = std::copy(piece.begin(), piece.end(), out); });
    return text;
}

TFileResult TCSVTable::SaveTableToFile(const QString &fileName) const {
    if (fileName.isEmpty())
        return {};
    return SaveBytesToFile(fileName, cp1251::encode(TableToText()));
}

TFileResult SaveBytesToFile(const QString &fileName, const QByteArray &bytes) {
    if (fileName.isEmpty())
        return {};
    QSaveFile file(fileName);
    // Unbuffered, so that a short write (a full disk) shows in write()'s count;
    // a buffered flush at commit() would let it pass.
    TFileResult failed{false, TFileResult::Fault::System, fileName, QString()};
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failed.systemReason = file.errorString();
    else if (file.write(bytes) != bytes.size())
        if (file.error() != QFileDevice::NoError)
            failed.systemReason = file.errorString();
        else
            failed.fault = TFileResult::Fault::PartialWrite;
    else if (!file.commit())
        failed.systemReason = file.errorString();
    else
        return {};
    return failed;
}
