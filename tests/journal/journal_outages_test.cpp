#include "journal_support.h"

#include <gtest/gtest.h>

namespace {

struct JournalOutages : ::testing::Test {
    QTemporaryDir dir;
    TRunJournal journal;

    void SetUp() override { ASSERT_TRUE(journal.open(journalFile(dir)).ok); }
    TJournalRun load(qint64 id) {
        std::optional<TJournalRun> run;
        EXPECT_TRUE(journal.loadRun(id, &run).ok);
        return run.value_or(TJournalRun());
    }
};

const QDateTime kT0(QDate(2026, 12, 11), QTime(3, 10, 0, 250));

// An outage is written when it begins, so that a run whose program died
// during it still shows it, and completed when it ends.
TEST_F(JournalOutages, AnOutageIsKeptWhenItBeginsAndCompletedWhenItEnds) {
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100, 1000});
    const TLinkOutage meter{TInstrument::Meter, kT0, QDateTime()};
    const TLinkOutage thermo{TInstrument::Thermometer, kT0.addSecs(5), kT0.addSecs(45)};
    ASSERT_TRUE(journal.recordOutage(run.id(), meter).ok);
    ASSERT_TRUE(journal.recordOutage(run.id(), thermo).ok);
    EXPECT_EQ(load(run.id()).Outages, QVector<TLinkOutage>({meter, thermo}));

    const TLinkOutage ended{TInstrument::Meter, kT0, kT0.addSecs(70)};
    ASSERT_TRUE(journal.recordOutage(run.id(), ended).ok);
    QVector<TLinkOutage> listed;
    ASSERT_TRUE(journal.outages(run.id(), &listed).ok);
    EXPECT_EQ(listed, QVector<TLinkOutage>({ended, thermo}));

    // Another run has none, and deleting the run takes its outages with it.
    RecordedRun other(journal, 20, 22, 1, 0.3);
    other.start({100});
    EXPECT_TRUE(load(other.id()).Outages.isEmpty());
    ASSERT_TRUE(journal.deleteRun(run.id()).ok);
    journal.close();
    SideConnection side(journalFile(dir));
    EXPECT_EQ(side.value("SELECT COUNT(*) FROM outages").toInt(), 0);
}

TEST_F(JournalOutages, TheNewestRunsLastStartIsTheSetupToOfferAgain) {
    std::optional<TJournalStart> start;
    ASSERT_TRUE(journal.latestStart(&start).ok);
    EXPECT_FALSE(start) << "an empty journal offers nothing";

    RecordedRun older(journal, 20, 22, 1, 0.3);
    older.start({100, 1000, 5000, 10000, 100000}, 7);
    RecordedRun newest(journal, 20, 22, 1, 0.3);
    newest.start({100, 1000}, 7);
    newest.start({120, 2000, 20000}, 3);
    ASSERT_TRUE(journal.latestStart(&start).ok);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->Frequencies, QVector<int32_t>({120, 2000, 20000}));
    EXPECT_EQ(start->SkipPacketCount, 3);
}

} // namespace
