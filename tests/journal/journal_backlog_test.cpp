// Writes that wait in memory while another program holds the journal's lock.
#include "journal_faults_support.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// While the journal has the file open, no other program can take its lock
// (it is held for the whole session); one that holds it first keeps the
// journal from opening, and what is recorded meanwhile waits. Released, the
// lock lets every waiting write in, in order, and the journal goes on.
TEST(JournalBacklog, ReadingsTakenWhileTheFileIsLockedGoInWhenItIsReleased) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    {
        TRunJournal before;
        ASSERT_TRUE(before.open(path).ok);
        ASSERT_TRUE(before.markCleanShutdown().ok);
    }
    auto holder = std::make_unique<SideConnection>(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=10"));
    ASSERT_TRUE(holder->exec("BEGIN IMMEDIATE"));
    TRunJournal journal(kShortBusyTimeoutMs);
    const TJournalOutcome opened = journal.open(path);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.fault, TJournalFault::Locked);
    EXPECT_TRUE(opened.tell);
    TJournalBacklog backlog(journal);
    auto runId = std::make_shared<qint64>(0);
    EXPECT_FALSE(backlog
                     .write([runId](TRunJournal &j) {
                         return j.beginRun(smallTable(), oneFrequency(), runId.get());
                     })
                     .ok);
    for (int n = 0; n < 5; ++n) {
        const TJournalOutcome later = backlog.write(
            [runId, n](TRunJournal &j) { return j.recordReading(*runId, reading(n)); });
        EXPECT_FALSE(later.ok);
        EXPECT_FALSE(later.tell) << "said once";
    }
    const TJournalOutcome retried = backlog.retry();
    EXPECT_FALSE(retried.ok);
    EXPECT_FALSE(retried.tell);
    EXPECT_EQ(backlog.waiting(), 6);

    // The other program ends (while it has the file open at all, the journal cannot take it).
    holder.reset();
    EXPECT_TRUE(backlog.retry().ok);
    EXPECT_EQ(backlog.waiting(), 0);
    EXPECT_FALSE(backlog.needsRetry());
    ASSERT_NE(*runId, 0);
    EXPECT_EQ(readingNumbers(journal, *runId), numbersUpTo(5));
    QVector<TJournalRunSummary> runs;
    ASSERT_TRUE(journal.runs(&runs).ok);
    EXPECT_FALSE(runs.value(0).Incomplete) << "nothing is missing";

    SideConnection another(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=10"));
    EXPECT_FALSE(another.tryExec("BEGIN IMMEDIATE")) << "the open journal keeps its lock";
    ASSERT_TRUE(writeReading(backlog, *runId, 5).ok) << "the journal goes on";
    EXPECT_EQ(readingNumbers(journal, *runId), numbersUpTo(6));
}

TEST(JournalBacklog, RetriesWaitLongerEachTimeUpToHalfAMinute) {
    const std::pair<int, int> delays[] = {{1, 1000},  {2, 2000},  {3, 4000},
                                          {5, 16000}, {6, 30000}, {40, 30000}};
    for (const auto &[attempt, ms] : delays)
        EXPECT_EQ(TJournalBacklog::retryDelayMs(attempt), ms) << "attempt " << attempt;
}

} // namespace
