#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// One parameter's readings, indexed [row][column].
using TParamTable = QList<QStringList>;
using TParamTableS = QList<TParamTable>;

// Outcome of writing a file, or of checking a name to write to: why it
// failed, the file, and for a refusal of the system the system's own words.
struct TFileResult {
    enum class Fault {
        None,
        NulInName,    // a NUL character would cut the name short
        FolderName,   // the name ends in a separator: a folder, not a file
        PartialWrite, // only part of the bytes went in: the disk is full
        System,       // the system refused; `systemReason` says why
    };
    bool ok = true;
    Fault fault = Fault::None;
    QString fileName;
    QString systemReason;
};

// Writes `bytes` to a temporary file beside `fileName` that replaces it only
// once complete, so a failed save never leaves a truncated file in place of
// a good one. An empty file name does nothing and succeeds.
TFileResult SaveBytesToFile(const QString &fileName, const QByteArray &bytes);

// The results of a measurement run: named parameter grids sharing one list of
// row titles (temperature set points), one list of column titles (frequencies)
// and three header values, and their semicolon-separated text form.
//
// Operations that take a row or column index return false and change nothing
// when the index lies outside the table; callers that capture readings during
// a run may ignore that.
class TCSVTable {
public:
    // New grids have every cell set to "*", the mark of a cell never written;
    // the text form shows such a cell as an empty field.

    // rows = cols = 0 on a sized table is the clearing call: every name, title
    // and cell goes. Any other size only resizes the title lists and sets the
    // size of grids created from now on; existing grids keep their size and cells.
    // A negative size is refused.
    bool SetTableSize(int rows, int cols);
    bool SetRowHeader(int index, double value, QChar decimalSeparator);
    bool SetColHeader(int value, int index);
    void SetHeaderInfo(const QString &limit, const QString &level, const QString &offset);

    // Appends a new grid of the current size, all cells unwritten, without
    // looking for an existing one of that name.
    void AddParam(const QString &name);
    // Index of the grid with exactly this name, created if there is none yet.
    int FindParam(const QString &name);
    // The column comes before the row. A name seen for the first time gets its grid.
    bool SetCell(const QString &name, const QString &value, int col, int row);

    // The whole table, one block per grid in creation order; every line ends
    // with ";" and CR LF. A table without grids gives the empty text.
    QString TableToText() const;
    // Writes TableToText in code page 1251, no byte-order mark, through
    // SaveBytesToFile. An empty file name does nothing and succeeds.
    TFileResult SaveTableToFile(const QString &fileName) const;

    const QStringList &ParamNames() const { return m_paramNames; }
    const QStringList &RowHeaders() const { return m_rowHeaders; }
    const QStringList &ColHeaders() const { return m_colHeaders; }
    // After the clearing call this may hold more (emptied) grids than there are
    // names; the grid of a name is at the name's index.
    const TParamTableS &Params() const { return m_params; }
    int GridRows() const { return m_gridRows; }
    int GridCols() const { return m_gridCols; }
    bool Initialized() const { return m_initialized; }
    const QString &Limit() const { return m_limit; }
    const QString &Level() const { return m_level; }
    const QString &Offset() const { return m_offset; }

private:
    int indexOf(const QString &name) const;
    template <typename Sink> void writeText(const Sink &out) const;

    QStringList m_paramNames;
    QStringList m_rowHeaders;
    QStringList m_colHeaders;
    TParamTableS m_params;
    int m_gridRows = 0;
    int m_gridCols = 0;
    bool m_initialized = false;
    QString m_limit;
    QString m_level;
    QString m_offset;
};
