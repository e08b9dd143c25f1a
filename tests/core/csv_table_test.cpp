#include "base/cp1251.h"
#include "file_support.h"
#include "files/csv_table.h"
#include "files/measurement_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QChar kComma(',');

QString lines(std::initializer_list<const char *> items) {
    QString text;
    for (const char *line : items)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

// Two rows (10, 20), two columns (100, 200), header A/B/C as limit/level/offset.
TCSVTable smallTable() {
    TCSVTable t;
    t.SetTableSize(2, 2);
    t.SetRowHeader(0, 10, kComma);
    t.SetRowHeader(1, 20, kComma);
    t.SetColHeader(100, 0);
    t.SetColHeader(200, 1);
    t.SetHeaderInfo("A", "B", "C");
    return t;
}

TEST(CSVTable, WritesTheBlockLayout) {
    TCSVTable t = smallTable();
    EXPECT_TRUE(t.SetCell("X", "1", 0, 0));
    EXPECT_TRUE(t.SetCell("X", "2", 1, 1));
    EXPECT_EQ(t.TableToText(),
              lines({"X;", "Limit = A;Offset = C;Level = B;", "t;100;200;", "10;1;;", "20;;2;"}));
}

TEST(CSVTable, SameNameSharesAGridAndNewNamesAppendBlocks) {
    TCSVTable t = smallTable();
    t.SetHeaderInfo("", "", "");
    t.SetCell("Y", "5", 1, 0);
    t.SetCell("Z", "7", 0, 1);
    t.SetCell("Y", "6", 0, 1);
    t.SetCell("Y", "*", 1, 1); // the unwritten mark stays an empty field
    EXPECT_EQ(t.ParamNames(), QStringList({"Y", "Z"}));
    EXPECT_EQ(t.TableToText(),
              lines({"Y;", "Limit = ;Offset = ;Level = ;", "t;100;200;", "10;;5;", "20;6;;", "Z;",
                     "Limit = ;Offset = ;Level = ;", "t;100;200;", "10;;;", "20;7;;"}));
}

TEST(CSVTable, GridsWithoutRowsOrColumns) {
    TCSVTable noRows;
    noRows.SetTableSize(0, 2);
    noRows.SetColHeader(100, 0);
    noRows.SetColHeader(-5, 1);
    noRows.AddParam("R");
    EXPECT_EQ(noRows.TableToText(), lines({"R;", "Limit = ;Offset = ;Level = ;", "t;100;-5;"}));

    TCSVTable noCols;
    noCols.SetTableSize(2, 0);
    noCols.SetRowHeader(0, -50, kComma);
    noCols.SetRowHeader(1, 25.5, kComma);
    noCols.AddParam("C");
    EXPECT_EQ(noCols.TableToText(),
              lines({"C;", "Limit = ;Offset = ;Level = ;", "t;", "-50;", "25,5;"}));
}

TEST(CSVTable, RowTitlesUseFourDigitsAndTheGivenSeparator) {
    TCSVTable t;
    t.SetTableSize(3, 0);
    t.SetRowHeader(0, 25.5, QChar('.'));
    t.SetRowHeader(1, 12340, kComma);
    // A set point summed up to almost zero is written as it is, not as 0.
    t.SetRowHeader(2, 0.00000000000000011, kComma);
    EXPECT_EQ(t.RowHeaders(), QStringList({"25.5", "1,234E004", "1,1E-016"}));
}

TEST(CSVTable, IndexOutsideTheTableIsRefusedAndChangesNothing) {
    TCSVTable t = smallTable();
    t.SetCell("X", "1", 0, 0);
    const QString before = t.TableToText();

    EXPECT_FALSE(t.SetRowHeader(-1, 1, kComma));
    EXPECT_FALSE(t.SetRowHeader(2, 1, kComma));
    EXPECT_FALSE(t.SetColHeader(1, -1));
    EXPECT_FALSE(t.SetColHeader(1, 2));
    const struct { int col, row; } outside[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 2}};
    for (const auto &p : outside) {
        EXPECT_FALSE(t.SetCell("X", "9", p.col, p.row)) << p.col << "," << p.row;
        // A name seen for the first time gets no grid from a refused cell.
        EXPECT_FALSE(t.SetCell("New", "9", p.col, p.row)) << p.col << "," << p.row;
    }
    EXPECT_FALSE(t.SetTableSize(-1, 2));
    EXPECT_EQ(t.GridRows(), 2);
    EXPECT_EQ(t.TableToText(), before);
}

TEST(CSVTable, ClearingCallEmptiesTheTable) {
    TCSVTable fresh;
    EXPECT_FALSE(fresh.Initialized());
    fresh.SetTableSize(0, 0);
    EXPECT_TRUE(fresh.Initialized());
    EXPECT_EQ(fresh.TableToText(), QString());

    TCSVTable t = smallTable();
    t.SetCell("X", "1", 0, 0);
    t.SetCell("Y", "2", 1, 1);
    t.SetTableSize(0, 0);
    EXPECT_TRUE(t.ParamNames().isEmpty());
    EXPECT_TRUE(t.RowHeaders().isEmpty());
    EXPECT_TRUE(t.ColHeaders().isEmpty());
    EXPECT_EQ(t.TableToText(), QString());

    // The next run starts from clean grids, not from the old readings.
    t.SetTableSize(2, 2);
    t.SetCell("Y", "3", 0, 0);
    ASSERT_EQ(t.FindParam("Y"), 0);
    EXPECT_EQ(t.Params().at(0), TParamTable({{"3", "*"}, {"*", "*"}}));
}

TEST(CSVTable, SizingAgainKeepsExistingGrids) {
    TCSVTable t = smallTable();
    t.SetCell("X", "1", 0, 0);
    t.SetCell("X", "2", 1, 1);
    const QString before = t.TableToText();

    // A second run of the same size keeps the first run's readings.
    t.SetTableSize(2, 2);
    t.SetRowHeader(0, 10, kComma);
    t.SetRowHeader(1, 20, kComma);
    t.SetColHeader(100, 0);
    t.SetColHeader(200, 1);
    EXPECT_EQ(t.TableToText(), before);

    // Larger titles: the old grid keeps 2 x 2, its missing positions are empty.
    t.SetTableSize(3, 3);
    t.SetRowHeader(2, 30, kComma);
    t.SetColHeader(300, 2);
    EXPECT_FALSE(t.SetCell("X", "9", 2, 2));
    EXPECT_TRUE(t.SetCell("W", "8", 2, 2));
    EXPECT_EQ(t.TableToText(),
              lines({"X;", "Limit = A;Offset = C;Level = B;", "t;100;200;300;", "10;1;;;",
                     "20;;2;;", "30;;;;", "W;", "Limit = A;Offset = C;Level = B;", "t;100;200;300;",
                     "10;;;;", "20;;;;", "30;;;8;"}));
}

// The example of a run stopped before its last point, with the header taken
// from the latest meter packet.
TEST(MeasurementFile, SavesTheRunAsCp1251Text) {
    TCSVTable t;
    t.SetTableSize(2, 2);
    t.SetColHeader(100, 0);
    t.SetColHeader(1000, 1);
    t.SetRowHeader(0, -50, kComma);
    t.SetRowHeader(1, -49, kComma);
    const struct {
        const char *main, *sec;
        int freq, temp;
    } readings[] = {
        {"1,52E-9", "0,0123", 0, 0}, {"1,51E-9", "0,0118", 1, 0}, {"1,53E-9", "0,0125", 0, 1}};
    TIMPacket im;
    im.MainName = "Cp";
    im.SecName = "D";
    for (const auto &r : readings) {
        im.MainBase = r.main;
        im.SecBase = r.sec;
        EXPECT_TRUE(StoreReading(t, im, r.freq, r.temp));
    }
    EXPECT_FALSE(StoreReading(t, im, 2, 0));
    im.LimitText = QStringLiteral("A 100kOm");
    im.OffsetText = QStringLiteral("0,00V");
    im.LevelText = QStringLiteral("1,00V");
    FillHeaderFromPacket(t, im);

    QTemporaryDir dir;
    const QString path = dir.filePath("run.tamrel");
    ASSERT_TRUE(t.SaveTableToFile(path).ok);
    EXPECT_EQ(readBytes(path), lines({"Cp;", "Limit = A 100kOm;Offset = 0,00V;Level = 1,00V;",
                                      "t;100;1000;", "-50;1,52E-9;1,51E-9;", "-49;1,53E-9;;",
                                      "Cp/D;", "Limit = A 100kOm;Offset = 0,00V;Level = 1,00V;",
                                      "t;100;1000;", "-50;0,0123;0,0118;", "-49;0,0125;;"})
                                   .toLatin1());

    // Russian names and units are written as single bytes of code page 1251.
    im.MainName = QStringLiteral("Ёмкость");
    im.LimitText = QStringLiteral("А 100кОм");
    StoreReading(t, im, 0, 0);
    FillHeaderFromPacket(t, im);
    ASSERT_TRUE(t.SaveTableToFile(path).ok);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("\xA8\xEC\xEA\xEE\xF1\xF2\xFC;\r\n"));
    EXPECT_EQ(cp1251::decode(bytes), t.TableToText());
}

TEST(CSVTable, EmptyTableSavesAnEmptyFileOverTheOldOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.csv");
    writeBytes(path, "old readings");
    TCSVTable t;
    t.SetTableSize(0, 0);
    EXPECT_TRUE(t.SaveTableToFile(path).ok);
    EXPECT_EQ(readBytes(path), QByteArray());

    EXPECT_TRUE(t.SaveTableToFile(QString()).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.csv"}));
}

TEST(CSVTable, SaveFailureIsReportedWithAReason) {
    QTemporaryDir dir;
    const QString aFile = dir.filePath("plain");
    writeBytes(aFile, "x");
    QDir(dir.path()).mkdir("folder");
    TCSVTable t = smallTable();
    t.SetCell("X", "1", 0, 0);

    for (const QString &path : {aFile + "/run.csv", dir.filePath("folder")}) {
        const TFileResult result = t.SaveTableToFile(path);
        EXPECT_FALSE(result.ok) << path.toStdString();
        EXPECT_EQ(result.fault, TFileResult::Fault::System);
        EXPECT_EQ(result.fileName, path);
        EXPECT_FALSE(result.systemReason.isEmpty());
    }
    EXPECT_EQ(readBytes(aFile), QByteArray("x"));
}

} // namespace
