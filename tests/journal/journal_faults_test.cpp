#include "journal_faults_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Another program's lock is met only at opening.
TEST(JournalFaults, AFileLockedByAnotherConnectionFailsTheOpeningAfterTheBusyTimeout) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    {
        TRunJournal first;
        ASSERT_TRUE(first.open(path).ok);
        ASSERT_TRUE(first.markCleanShutdown().ok);
    }
    TRunJournal journal(kShortBusyTimeoutMs);
    {
        // Held while the journal opens.
        SideConnection holder(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=10"));
        ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
        const TJournalOutcome opened = journal.open(path);
        EXPECT_FALSE(opened.ok);
        EXPECT_EQ(opened.fault, TJournalFault::Locked);
        EXPECT_TRUE(opened.tell);
    }
    // Never taken while the journal has the file: it keeps the lock from opening to closing.
    ASSERT_TRUE(journal.open(path).ok);
    const qint64 runId = beginRun(journal);
    SideConnection holder(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=10"));
    EXPECT_FALSE(holder.tryExec("BEGIN IMMEDIATE"));
    EXPECT_FALSE(holder.tryExec("SELECT COUNT(*) FROM runs"));
    EXPECT_TRUE(journal.recordReading(runId, reading(1)).ok);
}

void expectMovedAside(const TJournalOutcome &opened, const QString &path) {
    EXPECT_TRUE(opened.ok);
    EXPECT_EQ(opened.fault, TJournalFault::Corrupt);
    EXPECT_EQ(QFileInfo(opened.movedAside).absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_TRUE(QFileInfo(opened.movedAside).fileName().startsWith("runs-damaged-"));
    EXPECT_TRUE(opened.tell);
}

// A fresh journal takes the damaged one's place and works.
void expectFreshJournal(TRunJournal &journal) {
    QVector<TJournalRunSummary> runs;
    EXPECT_TRUE(journal.runs(&runs).ok);
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_TRUE(journal.previousSessionClean());
    EXPECT_TRUE(journal.recordReading(beginRun(journal), reading(1)).ok);
}

TEST(JournalFaults, GarbageOverTheFileIsMovedAsideAndANewJournalStarted) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += "junk";
    writeAll(path, garbage);

    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    expectMovedAside(opened, path);
    EXPECT_EQ(readAll(opened.movedAside), garbage);
    expectFreshJournal(journal);
}

// The files a killed program leaves (the database with its log), with a
// damaged page in the middle of the database: both are kept exactly as found,
// and the check that found the damage leaves no index file beside them.
TEST(JournalFaults, ADamagedPageIsFoundAtOpeningAndTheFileKeptWithItsLog) {
    QTemporaryDir live;
    QTemporaryDir left;
    const QString path = journalFile(left);
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(journalFile(live)).ok);
        const qint64 runId = beginRun(journal);
        for (int n = 0; n < 300; ++n)
            ASSERT_TRUE(journal.recordReading(runId, reading(n)).ok);
        // Closing folds the log into the database; the next reading starts a new log.
        ASSERT_TRUE(journal.open(journalFile(live)).ok);
        ASSERT_TRUE(journal.recordReading(runId, reading(300)).ok);
        for (const char *companion : {"", "-wal"})
            ASSERT_TRUE(QFile::copy(journalFile(live) + companion, path + companion));
    }
    const qint64 size = QFileInfo(path).size();
    writeAll(path, QByteArray(8192, char(0xAB)), size / 2);
    const QByteArray damaged = readAll(path);
    const QByteArray log = readAll(path + "-wal");
    ASSERT_FALSE(log.isEmpty());

    // Marked clean, the same file is opened without reading every page:
    // after a clean end the check would only cost time.
    {
        const QString cleanCopy = journalFile(live) + "-clean";
        ASSERT_TRUE(QFile::copy(path, cleanCopy));
        SideConnection side(cleanCopy);
        ASSERT_TRUE(side.exec("UPDATE session SET clean = 1"));
        TRunJournal journal;
        const TJournalOutcome opened = journal.open(cleanCopy);
        EXPECT_TRUE(opened.movedAside.isEmpty());
    }

    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    expectMovedAside(opened, path);
    EXPECT_EQ(readAll(opened.movedAside), damaged);
    EXPECT_EQ(readAll(opened.movedAside + "-wal"), log);
    EXPECT_FALSE(QFileInfo::exists(opened.movedAside + "-shm"));
    EXPECT_FALSE(QFileInfo::exists(path + "-shm"));
    expectFreshJournal(journal);
}

} // namespace
