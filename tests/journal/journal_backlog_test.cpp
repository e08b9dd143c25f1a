// Writes that wait in memory while another program holds the journal's lock.
#include "journal_faults_support.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

bool gapMarkLeft(const QString &path) {
    const QFileInfo info(path);
    return !info.dir().entryList({info.fileName() + "-gap-*"}, QDir::Files).isEmpty();
}

// Released, the lock lets every waiting reading in, in order; a program
// killed before that leaves the run offered back as incomplete.
TEST(JournalBacklog, ReadingsTakenWhileTheFileIsLockedGoInWhenItIsReleased) {
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed while they wait" : "lock released");
        QTemporaryDir dir;
        const QString path = journalFile(dir);
        SideConnection holder(path);
        auto journal = std::make_unique<TRunJournal>(kShortBusyTimeoutMs);
        ASSERT_TRUE(journal->open(path).ok);
        auto backlog = std::make_unique<TJournalBacklog>(*journal);
        const qint64 runId = beginRun(*backlog);
        ASSERT_TRUE(writeReading(*backlog, runId, 0).ok);

        ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
        const TJournalOutcome first = writeReading(*backlog, runId, 1);
        EXPECT_FALSE(first.ok);
        EXPECT_EQ(first.fault, TJournalFault::Locked);
        EXPECT_EQ(first.message,
                  QStringLiteral("Журнал измерений не ведётся: файл журнала занят другой "
                                 "программой."));
        for (int n = 2; n < 6; ++n) {
            const TJournalOutcome later = writeReading(*backlog, runId, n);
            EXPECT_FALSE(later.ok);
            EXPECT_TRUE(later.message.isEmpty()) << "said once";
        }
        const TJournalOutcome retried = backlog->retry();
        EXPECT_FALSE(retried.ok);
        EXPECT_TRUE(retried.message.isEmpty());
        EXPECT_EQ(backlog->waiting(), 5);
        EXPECT_TRUE(backlog->needsRetry());
        EXPECT_TRUE(gapMarkLeft(path));

        if (killed) {
            backlog.reset();
            journal.reset();
            ASSERT_TRUE(holder.exec("ROLLBACK"));
            expectOfferedAsIncomplete(path, runId);
            EXPECT_FALSE(gapMarkLeft(path));
            continue;
        }
        ASSERT_TRUE(holder.exec("ROLLBACK"));
        EXPECT_TRUE(backlog->retry().ok);
        EXPECT_EQ(backlog->waiting(), 0);
        EXPECT_FALSE(backlog->needsRetry());
        EXPECT_FALSE(gapMarkLeft(path));
        EXPECT_EQ(readingNumbers(*journal, runId), numbersUpTo(6));
        QVector<TJournalRunSummary> runs;
        ASSERT_TRUE(journal->runs(&runs).ok);
        EXPECT_FALSE(runs.value(0).Incomplete) << "nothing is missing";
        ASSERT_TRUE(writeReading(*backlog, runId, 6).ok) << "the journal goes on";

        // A later fault is said again.
        ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
        EXPECT_FALSE(writeReading(*backlog, runId, 7).message.isEmpty());
        ASSERT_TRUE(holder.exec("ROLLBACK"));
    }
}

// A run begun while the lock is held gets its id when the lock goes, and the
// readings recorded meanwhile land in it.
TEST(JournalBacklog, ARunBegunUnderALockIsWrittenWithItsReadings) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    TRunJournal journal(kShortBusyTimeoutMs);
    ASSERT_TRUE(journal.open(path).ok);
    TJournalBacklog backlog(journal);
    SideConnection holder(path);
    ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
    auto runId = std::make_shared<qint64>(0);
    EXPECT_FALSE(backlog
                     .write([runId](TRunJournal &j) {
                         return j.beginRun(smallTable(), oneFrequency(), runId.get());
                     })
                     .ok);
    for (int n = 0; n < 3; ++n)
        backlog.write([runId, n](TRunJournal &j) { return j.recordReading(*runId, reading(n)); });
    ASSERT_TRUE(holder.exec("ROLLBACK"));
    ASSERT_TRUE(backlog.retry().ok);
    ASSERT_NE(*runId, 0);
    EXPECT_EQ(readingNumbers(journal, *runId), numbersUpTo(3));
}

TEST(JournalBacklog, RetriesWaitLongerEachTimeUpToHalfAMinute) {
    const std::pair<int, int> delays[] = {{1, 1000},  {2, 2000},  {3, 4000},
                                          {5, 16000}, {6, 30000}, {40, 30000}};
    for (const auto &[attempt, ms] : delays)
        EXPECT_EQ(TJournalBacklog::retryDelayMs(attempt), ms) << "attempt " << attempt;
}

} // namespace
