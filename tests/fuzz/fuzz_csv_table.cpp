// The CSV results table after any sequence of its operations.
//
// Properties: the text form reads back into exactly the table the accessors
// show (names, header values, titles, cells, an unwritten cell as an empty
// field), with every line ending in ";" and CR LF; every grid has the size it
// was made with; a cell that was set holds its value and a refused operation
// changes nothing; the clearing call leaves no grid; the saved file holds the
// text in code page 1251.
#include "fuzz_check.h"

#include "base/cp1251.h"
#include "files/csv_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const QString kUnwritten = QStringLiteral("*");

// Names and values from a few characters, so that names meet again; no ";"
// or line break, which the text form does not escape.
QString shortText(FuzzedDataProvider &in, size_t longest) {
    static const char16_t kAlphabet[] = u"ab1,-E *\"Фж";
    QString text;
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, longest);
    for (size_t i = 0; i < length; ++i)
        text += QChar(kAlphabet[in.ConsumeIntegralInRange<size_t>(0, 10)]);
    return text;
}

QString cellText(const TParamTable &grid, int row, int col) {
    if (row >= grid.size() || col >= grid.at(row).size())
        return QString();
    const QString &cell = grid.at(row).at(col);
    return cell == kUnwritten ? QString() : cell;
}

// Reads the text form back and compares it with what the accessors show.
void checkText(const TCSVTable &table) {
    const QString text = table.TableToText();
    fuzzCheck(text.isEmpty() == table.ParamNames().isEmpty(), "no grids, no text", text);
    if (text.isEmpty())
        return;
    fuzzCheck(text.endsWith(QLatin1String(";\r\n")), "the text ends with a line end", text);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    const int perGrid = 3 + int(table.RowHeaders().size());
    fuzzCheck(lines.size() == perGrid * table.ParamNames().size(), "one block per grid", text);
    const QString header = QStringLiteral("Limit = %1;Offset = %2;Level = %3;")
                               .arg(table.Limit(), table.Offset(), table.Level());
    for (int p = 0; p < table.ParamNames().size(); ++p) {
        const QStringList block = lines.mid(p * perGrid, perGrid);
        fuzzCheck(block.at(0) == table.ParamNames().at(p) + QLatin1Char(';'),
                  "a block starts with its name", block.at(0));
        fuzzCheck(block.at(1) == header, "then the header values", block.at(1));
        QStringList titles = block.at(2).split(QLatin1Char(';'));
        fuzzCheck(titles.takeFirst() == QLatin1String("t") && titles.takeLast().isEmpty() &&
                      titles == table.ColHeaders(),
                  "then the column titles", block.at(2));
        const TParamTable &grid = table.Params().at(p);
        for (int r = 0; r < table.RowHeaders().size(); ++r) {
            QStringList fields = block.at(3 + r).split(QLatin1Char(';'));
            fuzzCheck(fields.takeFirst() == table.RowHeaders().at(r) && fields.takeLast().isEmpty(),
                      "a row starts with its title", block.at(3 + r));
            QStringList expected;
            for (int c = 0; c < table.ColHeaders().size(); ++c)
                expected << cellText(grid, r, c);
            fuzzCheck(fields == expected, "a row holds its cells", block.at(3 + r));
        }
    }
}

void checkGrids(const TCSVTable &table) {
    fuzzCheck(table.Params().size() >= table.ParamNames().size(), "every name has its grid");
    for (const TParamTable &grid : table.Params())
        for (const QStringList &row : grid)
            fuzzCheck(row.size() == grid.at(0).size(), "a grid's rows are alike");
}

bool sameTable(const TCSVTable &a, const TCSVTable &b) {
    return a.ParamNames() == b.ParamNames() && a.Params() == b.Params() &&
           a.RowHeaders() == b.RowHeaders() && a.ColHeaders() == b.ColHeaders() &&
           a.GridRows() == b.GridRows() && a.GridCols() == b.GridCols() &&
           a.Initialized() == b.Initialized() && a.Limit() == b.Limit() && a.Level() == b.Level() &&
           a.Offset() == b.Offset();
}

void checkSaved(const TCSVTable &table) {
    QTemporaryDir dir;
    fuzzCheck(dir.isValid(), "a temporary folder");
    const QString path = dir.filePath(QStringLiteral("table.csv"));
    fuzzCheck(table.SaveTableToFile(path).ok, "the table saves");
    QFile file(path);
    fuzzCheck(file.open(QIODevice::ReadOnly), "the saved file opens");
    fuzzCheck(cp1251::decode(file.readAll()) == table.TableToText(), "the file holds the text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    TCSVTable table;
    const QChar sep = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        const TCSVTable before = table; // shares its lists, copies nothing
        bool refused = false;
        switch (in.ConsumeIntegralInRange<int>(0, 6)) {
        case 0: {
            const int rows = in.ConsumeIntegralInRange<int>(-1, 6);
            const int cols = in.ConsumeIntegralInRange<int>(-1, 6);
            const bool wasSized = table.Initialized();
            refused = !table.SetTableSize(rows, cols);
            fuzzCheck(refused == (rows < 0 || cols < 0), "only a negative size is refused");
            if (!refused && wasSized && rows == 0 && cols == 0)
                fuzzCheck(table.ParamNames().isEmpty() && table.TableToText().isEmpty(),
                          "the clearing call leaves no grid");
            if (!refused)
                fuzzCheck(table.RowHeaders().size() == rows && table.ColHeaders().size() == cols,
                          "the titles take the new size");
            break;
        }
        case 1:
            refused = !table.SetRowHeader(in.ConsumeIntegralInRange<int>(-1, 6),
                                          in.ConsumeFloatingPoint<double>(), sep);
            break;
        case 2:
            refused = !table.SetColHeader(in.ConsumeIntegral<int>(),
                                          in.ConsumeIntegralInRange<int>(-1, 6));
            break;
        case 3: {
            const QString limit = shortText(in, 4);
            const QString level = shortText(in, 4);
            table.SetHeaderInfo(limit, level, shortText(in, 4));
            break;
        }
        case 4: {
            const QString name = shortText(in, 2);
            table.AddParam(name);
            const TParamTable &grid = table.Params().at(table.ParamNames().size() - 1);
            fuzzCheck(table.ParamNames().last() == name && grid.size() == table.GridRows(),
                      "a new grid has the current size");
            for (const QStringList &row : grid)
                fuzzCheck(row == QStringList(table.GridCols(), kUnwritten),
                          "a new grid is unwritten");
            break;
        }
        case 5: {
            const QString name = shortText(in, 2);
            const int index = table.FindParam(name);
            fuzzCheck(table.ParamNames().at(index) == name &&
                          table.ParamNames().indexOf(name) == index,
                      "a name finds its first grid");
            break;
        }
        case 6: {
            const QString name = shortText(in, 2);
            const QString value = shortText(in, 6);
            const int col = in.ConsumeIntegralInRange<int>(-1, 6);
            const int row = in.ConsumeIntegralInRange<int>(-1, 6);
            refused = !table.SetCell(name, value, col, row);
            if (!refused) {
                const int p = table.ParamNames().indexOf(name);
                fuzzCheck(p >= 0 && table.Params().at(p).at(row).at(col) == value,
                          "a set cell holds its value");
            }
            break;
        }
        }
        if (refused)
            fuzzCheck(sameTable(table, before), "a refused operation changes nothing");
        checkGrids(table);
    }
    checkText(table);
    if (in.ConsumeBool())
        checkSaved(table);
    return 0;
}
