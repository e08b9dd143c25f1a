// Writes that wait in memory while the journal's disk is full.
#include "journal_faults_support.h"
#include "small_disk.h"

#include <gtest/gtest.h>

namespace {

// Once space is freed every reading recorded meanwhile is in the journal; a
// program killed before that leaves the run offered back as incomplete.
TEST(JournalBacklog, ReadingsTakenWhileTheDiskIsFullGoInWhenThereIsSpaceAgain) {
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed while they wait" : "space freed");
        SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << "cannot mount a small tmpfs to fill (needs root): " << disk.error();
        const QString path = disk.filePath(QStringLiteral("runs.sqlite"));
        qint64 runId = 0;
        int written = 0;
        {
            TRunJournal journal;
            ASSERT_TRUE(journal.open(path).ok);
            TJournalBacklog backlog(journal);
            runId = beginRun(backlog);
            for (; written < 3; ++written)
                ASSERT_TRUE(writeReading(backlog, runId, written).ok);
            disk.fill();
            TJournalOutcome outcome;
            while (outcome.ok && written < 5000)
                outcome = writeReading(backlog, runId, written++);
            ASSERT_FALSE(outcome.ok);
            EXPECT_EQ(outcome.fault, TJournalFault::DiskFull);
            for (int more = 0; more < 10; ++more)
                EXPECT_FALSE(writeReading(backlog, runId, written++).tell);
            EXPECT_FALSE(backlog.retry().ok) << "still full";
            disk.free();
            if (!killed) {
                ASSERT_TRUE(backlog.retry().ok);
                EXPECT_EQ(readingNumbers(journal, runId), numbersUpTo(written));
                ASSERT_TRUE(journal.markCleanShutdown().ok);
            }
        }
        if (killed)
            expectOfferedAsIncomplete(path, runId);
    }
}

} // namespace
