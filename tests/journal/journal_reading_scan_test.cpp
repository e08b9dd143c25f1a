#include "journal/journal_reading_scan.h"
#include "journal_faults_support.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

struct Scanned {
    int startNo = 0;
    TJournalReading reading;
};

template <typename Scan>
std::vector<Scanned> scan(Scan how, const QSqlDatabase &db, const TReadingRange &range) {
    std::vector<Scanned> out;
    QSqlError error;
    EXPECT_TRUE(how(
        db, range, [&](int startNo, TJournalReading &&r) { out.push_back({startNo, r}); },
        &error))
        << error.text().toStdString();
    return out;
}

void expectSameText(const QString &a, const QString &b, const char *what) {
    EXPECT_EQ(a, b) << what;
    EXPECT_EQ(a.isNull(), b.isNull()) << what;
}

void expectSameReal(double a, double b, const char *what) {
    if (std::isnan(a))
        EXPECT_TRUE(std::isnan(b)) << what;
    else
        EXPECT_EQ(a, b) << what;
}

// Both ways read every value alike, NULL and empty included.
void expectSame(const Scanned &quick, const Scanned &qt) {
    const TJournalReading &a = quick.reading;
    const TJournalReading &b = qt.reading;
    SCOPED_TRACE(b.Seq);
    EXPECT_EQ(quick.startNo, qt.startNo);
    EXPECT_EQ(a.Seq, b.Seq);
    EXPECT_EQ(a.Row, b.Row);
    EXPECT_EQ(a.Col, b.Col);
    EXPECT_EQ(a.TempIndex, b.TempIndex);
    EXPECT_EQ(a.FreqIndex, b.FreqIndex);
    EXPECT_EQ(a.Time, b.Time);
    EXPECT_EQ(a.Time.timeSpec(), b.Time.timeSpec());
    EXPECT_EQ(a.Time.isValid(), b.Time.isValid());
    expectSameReal(a.SetPoint, b.SetPoint, "set point");
    expectSameReal(a.Temperature, b.Temperature, "temperature");
    EXPECT_EQ(a.FrequencyHz, b.FrequencyHz);
    EXPECT_EQ(a.Frame, b.Frame);
    EXPECT_EQ(a.Frame.isNull(), b.Frame.isNull());
    expectSameText(a.MainName, b.MainName, "main name");
    expectSameText(a.MainValue, b.MainValue, "main value");
    expectSameText(a.MainUnit, b.MainUnit, "main unit");
    expectSameText(a.MainBase, b.MainBase, "main base");
    expectSameText(a.SecName, b.SecName, "secondary name");
    expectSameText(a.SecValue, b.SecValue, "secondary value");
    expectSameText(a.SecUnit, b.SecUnit, "secondary unit");
    expectSameText(a.SecBase, b.SecBase, "secondary base");
    expectSameText(a.CellText, b.CellText, "cell text");
}

// Two runs in one journal; their readings are written straight into the file,
// so that they hold what the program itself never writes (NULLs, empty texts,
// times in another form) as well as what it does.
struct ReadingScan : ::testing::Test {
    QTemporaryDir dir;
    qint64 run = 0;
    qint64 other = 0;

    void SetUp() override {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(journalFile(dir)).ok);
        run = beginRun(journal);
        other = beginRun(journal);
        ASSERT_TRUE(journal.markCleanShutdown().ok);
    }

    // The readings of `run`, oldest first: start number, recorded_at and the
    // values that vary between them.
    void fill(SideConnection &side) {
        const QString insert = QStringLiteral(
            "INSERT INTO readings (run_id, start_no, grid_row, grid_col, csv_row, csv_col, "
            "recorded_at, set_point, temperature, freq_hz, frame, main_name, main_value, "
            "main_unit, main_base, sec_name, sec_value, sec_unit, sec_base, cell_text) VALUES ");
        const QString names = QStringLiteral("'Cp', '1,5234', 'nF', '1,5234E-9', 'D', '0,0123', "
                                             "' ', '0,0123', 'Cp 1,5234 nF;---------; D 0,0123 '");
        for (const QString &values : {
                 // The last millisecond of an hour, then the first of the next.
                 QString("%1, 1, 1, 2, 0, 0, '2024-12-08T09:59:59.999', 20.0, 20.13, 1000, "
                         "x'AA0102', %2")
                     .arg(run)
                     .arg(names),
                 QString("%1, 1, 2, 3, 1, 1, '2024-12-08T10:00:00.000', 21.0, NULL, 100000, "
                         "x'AA0103', 'Cp', '1,5235', 'мкФ', '1,5235E-6', 'D', '0,0124', ' ', "
                         "'0,0124', 'Cp 1,5235 мкФ;---------; D 0,0124 '")
                     .arg(run),
                 // Another run's reading in between is not this run's.
                 QString("%1, 1, 1, 2, 0, 0, '2024-12-08T10:00:00.100', 20.0, 20.0, 1000, "
                         "x'AA', %2")
                     .arg(other)
                     .arg(names),
                 // A later start, back in an earlier hour; NULL and empty values.
                 QString("%1, 2, 1, 2, 0, 0, '2024-12-08T09:30:00.500', NULL, 19.5, 1000, "
                         "NULL, NULL, '', 'nF', '', 'D', NULL, ' ', '0,0124', NULL")
                     .arg(run),
                 QString("%1, 2, 1, 3, 0, 1, NULL, 20.0, 19.5, 100000, x'', %2")
                     .arg(run)
                     .arg(names),
                 // Times in other forms than the program writes.
                 QString("%1, 2, 2, 2, 1, 0, '2024-12-08T10:00:01', 21.0, 21.0, 1000, x'AA', %2")
                     .arg(run)
                     .arg(names),
                 QString("%1, 2, 2, 3, 1, 1, '2024-12-08T10:0a:01.000', 21.0, 21.0, 1000, "
                         "x'AA', %2")
                     .arg(run)
                     .arg(names),
             })
            ASSERT_TRUE(side.exec(insert + "(" + values + ")"));
    }
};

TEST_F(ReadingScan, BothWaysReadTheRunsReadingsAlikeInTheOrderRecorded) {
    SideConnection side(journalFile(dir));
    fill(side);
    const TReadingRange range{run, side.value("SELECT MIN(seq) FROM readings").toLongLong(),
                              side.value("SELECT MAX(seq) FROM readings").toLongLong()};
#ifndef Q_OS_WIN
    EXPECT_TRUE(readsStraightThroughSqlite(side.db()));
#endif
    const std::vector<Scanned> quick = scan(scanReadings, side.db(), range);
    const std::vector<Scanned> qt = scan(scanReadingsThroughQt, side.db(), range);
    ASSERT_EQ(quick.size(), 6u);
    ASSERT_EQ(qt.size(), quick.size());
    for (size_t i = 0; i < quick.size(); ++i)
        expectSame(quick[i], qt[i]);

    // Each time as the full parse reads its text, across hours and back.
    QSqlQuery times(side.db());
    ASSERT_TRUE(times.exec(
        QString("SELECT recorded_at FROM readings WHERE run_id = %1 ORDER BY seq").arg(run)));
    for (const Scanned &s : quick) {
        ASSERT_TRUE(times.next());
        const QDateTime expected =
            QDateTime::fromString(times.value(0).toString(), Qt::ISODateWithMs);
        EXPECT_EQ(s.reading.Time, expected) << times.value(0).toString().toStdString();
        EXPECT_EQ(s.reading.Time.toString(Qt::ISODateWithMs),
                  expected.toString(Qt::ISODateWithMs));
    }
    EXPECT_EQ(quick[0].reading.Time.toString(Qt::ISODateWithMs), "2024-12-08T09:59:59.999");
    EXPECT_FALSE(quick[3].reading.Time.isValid()); // NULL
    EXPECT_FALSE(quick[5].reading.Time.isValid()); // not a time

    EXPECT_EQ(quick[1].reading.MainUnit, QString::fromUtf8("мкФ"));
    EXPECT_TRUE(std::isnan(quick[1].reading.Temperature));
    EXPECT_EQ(quick[1].reading.Frame, QByteArray("\xAA\x01\x03"));
    EXPECT_TRUE(quick[2].reading.MainName.isNull());
    EXPECT_FALSE(quick[2].reading.MainValue.isNull());
    EXPECT_TRUE(quick[2].reading.MainValue.isEmpty());
    EXPECT_EQ(quick[2].startNo, 2);

    // A narrower range leaves the rest out.
    const TReadingRange first{run, range.First, range.First};
    EXPECT_EQ(scan(scanReadings, side.db(), first).size(), 1u);
}

// A page of the run's readings damaged after a clean end (so that opening
// does not check the file) makes the load fail as damage, not quietly short.
TEST_F(ReadingScan, ADamagedPageOfReadingsFailsTheLoadAsDamage) {
    qint64 page = 0;
    qint64 run = 0;
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(journalFile(dir)).ok);
        run = beginRun(journal);
        for (int n = 0; n < 300; ++n)
            ASSERT_TRUE(journal.recordReading(run, reading(n)).ok);
        ASSERT_TRUE(journal.markCleanShutdown().ok);
        journal.close();
        SideConnection side(journalFile(dir));
        QSqlQuery leaves(side.db());
        if (!leaves.exec("SELECT pageno FROM dbstat WHERE name = 'readings' AND "
                         "pagetype = 'leaf' ORDER BY pageno"))
            GTEST_SKIP() << "this SQLite has no dbstat table to find a leaf page";
        std::vector<qint64> pages;
        while (leaves.next())
            pages.push_back(leaves.value(0).toLongLong());
        ASSERT_GT(pages.size(), 4u);
        page = pages[pages.size() / 2]; // neither the first nor the newest reading's
        ASSERT_EQ(side.value("PRAGMA wal_checkpoint(TRUNCATE)").toInt(), 0);
    }
    writeAll(journalFile(dir), QByteArray(TRunJournal::kPageSize, char(0xAB)),
             (page - 1) * TRunJournal::kPageSize);

    TRunJournal journal;
    ASSERT_TRUE(journal.open(journalFile(dir)).ok);
    std::optional<TJournalRun> loaded;
    const TJournalOutcome outcome = journal.loadRun(run, &loaded);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.fault, TJournalFault::Corrupt) << outcome.detail.toStdString();
    EXPECT_FALSE(loaded.has_value());
    journal.close();

    // The scan itself says so, with SQLite's code.
    SideConnection side(journalFile(dir));
    QSqlError error;
    EXPECT_FALSE(scanReadings(
        side.db(), {run, 0, std::numeric_limits<qint64>::max()},
        [](int, TJournalReading &&) {}, &error));
    EXPECT_EQ(error.nativeErrorCode().toInt() & 0xff, 11) << error.text().toStdString();
}

} // namespace
