// What the journal costs and keeps: a reading's share of the log, runs without
// a reading, runs deleted together, and the compaction that gives their room back.
#include "journal_faults_support.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString logOf(const QString &path) {
    return path + QStringLiteral("-wal");
}

// Three pages go to the log with each reading (the row, the run's index and the
// cell); at 4 KB pages that was 13 KB a reading.
TEST(JournalUpkeep, AReadingWritesAFewKilobytesToTheLog) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    TRunJournal journal;
    ASSERT_TRUE(journal.open(path).ok);
    const qint64 runId = beginRun(journal);
    ASSERT_TRUE(journal.checkpoint().ok);
    ASSERT_EQ(QFileInfo(logOf(path)).size(), 0);
    constexpr int kReadings = 50;
    for (int n = 0; n < kReadings; ++n)
        ASSERT_TRUE(journal.recordReading(runId, reading(n)).ok);
    EXPECT_LE(QFileInfo(logOf(path)).size() / kReadings, 5 * 1024);
}

// Stopped before its first reading, or left so by a program that died, a run
// is not kept; the next opening drops the latter.
TEST(JournalUpkeep, ARunWithoutAReadingIsNotKept) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    qint64 measured = 0;
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(path).ok);
        const qint64 stopped = beginRun(journal);
        ASSERT_TRUE(journal.endRun(stopped, QDateTime::currentDateTime()).ok);
        measured = beginRun(journal);
        ASSERT_TRUE(journal.recordReading(measured, reading(0)).ok);
        ASSERT_TRUE(journal.endRun(measured, QDateTime::currentDateTime()).ok);
        QVector<TJournalRunSummary> runs;
        ASSERT_TRUE(journal.runs(&runs).ok);
        ASSERT_EQ(runs.size(), 1);
        EXPECT_EQ(runs[0].Id, measured);
        beginRun(journal);
    }
    TRunJournal next;
    ASSERT_TRUE(next.open(path).ok);
    QVector<TJournalRunSummary> runs;
    ASSERT_TRUE(next.runs(&runs).ok);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].Id, measured);
}

// A journal an older program made has 4 KB pages; compaction brings it to the
// small ones, and deleted runs' room goes back to the disk.
TEST(JournalUpkeep, CompactionGivesBackTheRoomOfDeletedRunsAtTheSmallPage) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    {
        SideConnection older(path);
        older.exec("PRAGMA page_size = 4096");
        older.exec("PRAGMA journal_mode = WAL");
    }
    qint64 kept = 0;
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(path).ok);
        const qint64 large = beginRun(journal);
        for (int n = 0; n < 400; ++n)
            ASSERT_TRUE(journal.recordReading(large, reading(n)).ok);
        const qint64 small = beginRun(journal);
        ASSERT_TRUE(journal.recordReading(small, reading(0)).ok);
        kept = beginRun(journal);
        ASSERT_TRUE(journal.recordReading(kept, reading(0)).ok);

        ASSERT_TRUE(journal.deleteRuns({large, small}).ok);
        ASSERT_TRUE(journal.checkpoint().ok);
        const qint64 before = journal.bytesOnDisk();
        ASSERT_TRUE(journal.compact().ok);
        EXPECT_LT(journal.bytesOnDisk(), before / 2);

        QVector<TJournalRunSummary> runs;
        ASSERT_TRUE(journal.runs(&runs).ok);
        ASSERT_EQ(runs.size(), 1);
        EXPECT_EQ(runs[0].Id, kept);
        ASSERT_TRUE(journal.recordReading(kept, reading(1)).ok) << "the journal goes on";
        EXPECT_EQ(readingNumbers(journal, kept), numbersUpTo(2));
        ASSERT_TRUE(journal.markCleanShutdown().ok);
    }
    SideConnection side(path);
    EXPECT_EQ(side.value("PRAGMA page_size").toInt(), TRunJournal::kPageSize);
    EXPECT_EQ(side.value("PRAGMA journal_mode").toString(), "wal");
}

} // namespace
