#include "journal/journal_replay.h"
#include "journal/journal_schema.h"
#include "journal_support.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A table 20 .. 22 °C in steps of 1 with tolerance 0,3: rows 1..3.
struct JournalStore : ::testing::Test {
    QTemporaryDir dir;
    TRunJournal journal;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const TJournalOutcome opened = journal.open(journalFile(dir));
        ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
    }
    void reopen(bool cleanShutdown) {
        if (cleanShutdown) {
            ASSERT_TRUE(journal.markCleanShutdown().ok);
        }
        const TJournalOutcome opened = journal.open(journalFile(dir));
        ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
    }
    TJournalRun load(qint64 id) {
        std::optional<TJournalRun> run;
        EXPECT_TRUE(journal.loadRun(id, &run).ok);
        return run.value_or(TJournalRun());
    }
    TJournalRunSummary summary(qint64 id) { return load(id).Summary; }
};

TEST_F(JournalStore, KeepsARunAsRecorded) {
    EXPECT_TRUE(journal.previousSessionClean());
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100, 1000});
    TEventRec first = meterRecord(param::Cp, 1.52e-9, param::D, 0.0123, 1000, 21.1);
    first.Time = QDateTime(QDate(2024, 12, 8), QTime(9, 5, 3, 123));
    ASSERT_TRUE(run.capture(first));
    run.actualTemperature(21.1);

    const TJournalRun loaded = load(run.id());
    ASSERT_EQ(loaded.Segments.size(), 1);
    EXPECT_EQ(loaded.Segments[0].Start.Frequencies, QVector<int32_t>({100, 1000}));
    EXPECT_EQ(loaded.Segments[0].Start.SkipPacketCount, 6);
    EXPECT_EQ(loaded.Table.SetPointTexts, QStringList({"20", "21", "22"}));
    EXPECT_EQ(loaded.Table.TempStorage.TempDiff, 0.3);
    ASSERT_EQ(loaded.Table.TempStorage.Items.size(), 3);
    EXPECT_EQ(loaded.Table.TempStorage.Items[2].Row, 3);

    ASSERT_EQ(loaded.Segments[0].Readings.size(), 1);
    const TJournalReading &r = loaded.Segments[0].Readings[0];
    EXPECT_EQ(r.Time, first.Time);
    EXPECT_EQ(r.Time.toString(Qt::ISODateWithMs), "2024-12-08T09:05:03.123");
    EXPECT_EQ(r.Row, 2);
    EXPECT_EQ(r.Col, 3);
    EXPECT_EQ(r.TempIndex, 1);
    EXPECT_EQ(r.FreqIndex, 1);
    EXPECT_EQ(r.SetPoint, 21.0);
    EXPECT_EQ(r.Temperature, 21.1);
    EXPECT_EQ(r.FrequencyHz, 1000);
    EXPECT_EQ(r.Frame, QByteArray(reinterpret_cast<const char *>(first.RawData.data()), 21));
    EXPECT_EQ(r.MainName, "Cp");
    EXPECT_EQ(r.MainUnit, first.IM.MainUnit);
    EXPECT_EQ(r.MainBase, first.IM.MainBase);
    EXPECT_EQ(r.SecName, "D");
    EXPECT_EQ(r.SecValue, first.IM.SecValue);
    EXPECT_EQ(r.CellText, cellTextOf(first.IM));

    ASSERT_EQ(loaded.ActualTemperatures.size(), 1);
    EXPECT_EQ(loaded.ActualTemperatures[0].Row, 2);
    EXPECT_EQ(loaded.ActualTemperatures[0].Text, "21,1");

    const TJournalRunSummary &s = loaded.Summary;
    EXPECT_EQ(s.SetPointCount, 3);
    EXPECT_EQ(s.FrequencyCount, 2);
    EXPECT_EQ(s.CellCount, 1);
    EXPECT_TRUE(s.UnsavedReadings);
    EXPECT_EQ(s.EndedAt, first.Time); // not stopped: its last reading

    // A file made by this program is in write-ahead-log mode at the current schema.
    journal.close();
    SideConnection side(journalFile(dir));
    EXPECT_EQ(side.value("PRAGMA journal_mode").toString(), "wal");
    EXPECT_EQ(side.value("PRAGMA user_version").toInt(), kJournalSchemaVersion);
}

TEST_F(JournalStore, ACellRecordedAgainShowsItsLatestReadingAndTheHistoryKeepsBoth) {
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100, 1000});
    run.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 100, 20.1));
    run.capture(meterRecord(param::Cp, 1.6e-9, param::D, 0.02, 100, 19.9));
    run.capture(meterRecord(param::Cp, 1.7e-9, param::D, 0.03, 1000, 20.0));

    const TJournalRun loaded = load(run.id());
    EXPECT_EQ(loaded.Summary.CellCount, 2);
    EXPECT_EQ(loaded.Segments[0].Readings.size(), 3);
    const TJournalReplay replay = replayRun(loaded);
    QMap<QPair<int, int>, QString> shown;
    for (const TJournalGridCell &cell : replay.Cells)
        shown[{cell.Row, cell.Col}] = cell.Text;
    EXPECT_EQ(shown.value({1, 2}), run.grid.value({1, 2}));
    EXPECT_NE(shown.value({1, 2}), loaded.Segments[0].Readings[0].CellText);
}

// "Т. факт" changes with every hundredth of a degree: a change costs no commit
// of its own but goes in with the next write, and an unchanged text none at all.
TEST_F(JournalStore, AnActualTemperatureGoesInWithTheNextWriteOnlyWhenItsTextChanges) {
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100});
    ASSERT_TRUE(journal.checkpoint().ok);
    const QString log = journalFile(dir) + QStringLiteral("-wal");
    TJournalActualTemperature actual{1, QDateTime(QDate(2024, 1, 1), QTime(10, 0)), 20, 20.1,
                                     "20,1"};
    ASSERT_TRUE(journal.recordActualTemperature(run.id(), actual).ok);
    actual.Time = actual.Time.addSecs(1);
    ASSERT_TRUE(journal.recordActualTemperature(run.id(), actual).ok);
    EXPECT_EQ(QFileInfo(log).size(), 0) << "no commit";

    ASSERT_TRUE(run.capture(meterRecord(param::Cp, 1.52e-9, param::D, 0.0123, 100, 20.1)));
    EXPECT_EQ(load(run.id()).ActualTemperatures.value(0).Time.time(), QTime(10, 0));

    actual.Text = "20,2";
    ASSERT_TRUE(journal.recordActualTemperature(run.id(), actual).ok);
    ASSERT_TRUE(journal.endRun(run.id(), QDateTime::currentDateTime()).ok);
    const TJournalRun loaded = load(run.id());
    ASSERT_EQ(loaded.ActualTemperatures.size(), 1);
    EXPECT_EQ(loaded.ActualTemperatures[0].Text, "20,2");
    EXPECT_EQ(loaded.ActualTemperatures[0].Time.time(), QTime(10, 0, 1));
}

TEST_F(JournalStore, ARestartIsAnotherStartOfTheSameRun) {
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100, 1000});
    run.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 100, 20.0));
    ASSERT_TRUE(journal.endRun(run.id(), QDateTime(QDate(2024, 1, 1), QTime(11, 0))).ok);
    EXPECT_EQ(summary(run.id()).EndedAt.time(), QTime(11, 0));

    run.start({200, 2000}, 3);
    run.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 2000, 21.0));
    const TJournalRun loaded = load(run.id());
    ASSERT_EQ(loaded.Segments.size(), 2);
    EXPECT_EQ(loaded.Segments[1].Start.Frequencies, QVector<int32_t>({200, 2000}));
    EXPECT_EQ(loaded.Segments[1].Start.SkipPacketCount, 3);
    EXPECT_EQ(loaded.Segments[0].Readings.size(), 1);
    EXPECT_EQ(loaded.Segments[1].Readings.size(), 1);
    // Running again: the end is its latest reading until the next stop.
    EXPECT_EQ(loaded.Summary.EndedAt, loaded.Segments[1].Readings[0].Time);
}

TEST_F(JournalStore, ListsRunsNewestFirstAndDeletesOneWithEverythingInIt) {
    RecordedRun older(journal, 20, 22, 1, 0.3);
    older.start({100, 1000, 5000});
    older.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 100, 20.0));
    older.actualTemperature(20.0);
    ASSERT_TRUE(journal
                    .markSaved(older.id(), TRunJournal::kAllReadings, "/data/a.tamrel",
                               QDateTime::currentDateTime())
                    .ok);
    RecordedRun newer(journal, -1, 1, 0.5, 0.2);
    newer.start({1000});

    QVector<TJournalRunSummary> list;
    ASSERT_TRUE(journal.runs(&list).ok);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].Id, newer.id());
    EXPECT_EQ(list[0].SetPointCount, 5);
    EXPECT_EQ(list[0].FrequencyCount, 1);
    EXPECT_EQ(list[0].CellCount, 0);
    EXPECT_FALSE(list[0].EndedAt.isValid());
    EXPECT_EQ(list[1].Id, older.id());
    EXPECT_EQ(list[1].FrequencyCount, 3);
    EXPECT_EQ(list[1].SavedFile, "/data/a.tamrel");
    EXPECT_FALSE(list[1].UnsavedReadings);

    ASSERT_TRUE(journal.deleteRun(older.id()).ok);
    std::optional<TJournalRun> gone;
    ASSERT_TRUE(journal.loadRun(older.id(), &gone).ok);
    EXPECT_FALSE(gone.has_value());
    ASSERT_TRUE(journal.runs(&list).ok);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].Id, newer.id());

    journal.close();
    SideConnection side(journalFile(dir));
    for (const char *table : {"set_points", "temp_items", "starts", "frequencies", "readings",
                              "cells", "actual_temperatures"}) {
        EXPECT_EQ(side.value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE run_id = %2")
                                 .arg(table)
                                 .arg(older.id()))
                      .toInt(),
                  0)
            << table;
    }
}

// Recovery is offered when the program died and the newest run holds
// readings that no file has.
TEST_F(JournalStore, OffersTheNewestRunForRecoveryOnlyAfterAnUncleanEndWithUnsavedReadings) {
    struct Case {
        const char *name;
        std::function<void(TRunJournal &, RecordedRun &)> act;
        bool cleanShutdown;
        bool offered;
    };
    auto reading = [](RecordedRun &run, double t) {
        run.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 100, t));
    };
    auto save = [](TRunJournal &j, RecordedRun &run) {
        EXPECT_TRUE(j.markSaved(run.id(), TRunJournal::kAllReadings, "a.tamrel",
                                QDateTime::currentDateTime())
                        .ok);
    };
    const Case cases[] = {
        {"killed with unsaved readings", [&](TRunJournal &, RecordedRun &r) { reading(r, 20); },
         false, true},
        {"closed normally", [&](TRunJournal &, RecordedRun &r) { reading(r, 20); }, true, false},
        {"killed after saving everything",
         [&](TRunJournal &j, RecordedRun &r) {
             reading(r, 20);
             save(j, r);
         },
         false, false},
        {"killed with readings after the save",
         [&](TRunJournal &j, RecordedRun &r) {
             reading(r, 20);
             save(j, r);
             reading(r, 21);
         },
         false, true},
        {"killed after a save of the readings before the newest",
         [&](TRunJournal &j, RecordedRun &r) {
             reading(r, 20);
             std::optional<TJournalRun> atClick;
             ASSERT_TRUE(j.loadRun(r.id(), &atClick).ok);
             reading(r, 21);
             EXPECT_TRUE(j.markSaved(r.id(), atClick->Summary.LastSeq, "b.tamrel",
                                     QDateTime::currentDateTime())
                             .ok);
         },
         false, true},
        {"killed before the first reading", [](TRunJournal &, RecordedRun &) {}, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir;
        TRunJournal j;
        ASSERT_TRUE(j.open(journalFile(caseDir)).ok);
        {
            // An older run with unsaved readings never counts: only the newest does.
            RecordedRun old(j, 20, 22, 1, 0.3);
            old.start({100});
            reading(old, 22);
        }
        RecordedRun run(j, 20, 22, 1, 0.3);
        run.start({100});
        c.act(j, run);
        if (c.cleanShutdown) {
            ASSERT_TRUE(j.markCleanShutdown().ok);
        }
        ASSERT_TRUE(j.open(journalFile(caseDir)).ok);
        EXPECT_EQ(j.previousSessionClean(), c.cleanShutdown);
        std::optional<TJournalRunSummary> offered;
        ASSERT_TRUE(j.runToRecover(&offered).ok);
        EXPECT_EQ(offered.has_value(), c.offered);
        if (offered) {
            EXPECT_EQ(offered->Id, run.id());
        }
    }
}

TEST_F(JournalStore, ASessionIsCleanOnlyAfterMarkCleanShutdown) {
    reopen(false);
    EXPECT_FALSE(journal.previousSessionClean());
    reopen(true);
    EXPECT_TRUE(journal.previousSessionClean());
    reopen(false);
    EXPECT_FALSE(journal.previousSessionClean());
}

// A file of schema version 1 as that version's program left it: one run
// whose cell (1, 2) was recorded twice, then cell (2, 2).
TEST(JournalSchema, MigratesAVersion1FileKeepingItsRuns) {
    QTemporaryDir dir;
    {
        SideConnection old(journalFile(dir));
        ASSERT_TRUE(migrateJournal(old.db(), journalFile(dir), 1).ok);
        ASSERT_EQ(old.value("PRAGMA user_version").toInt(), 1);
        old.exec("INSERT INTO runs (id, started_at, decimal_separator, temp_init, temp_final, "
                 "temp_step, temp_diff) VALUES (7, '2024-12-08T09:00:00.000', ',', 20, 21, 1, "
                 "0.3)");
        old.exec("INSERT INTO set_points VALUES (7, 1, '20'), (7, 2, '21')");
        old.exec("INSERT INTO temp_items VALUES (7, 0, 20, 1), (7, 1, 21, 2)");
        old.exec("INSERT INTO starts VALUES (7, 1, '2024-12-08T09:00:00.000', 6)");
        old.exec("INSERT INTO frequencies VALUES (7, 1, 0, 100)");
        old.exec("INSERT INTO readings (run_id, start_no, grid_row, grid_col, csv_row, csv_col, "
                 "freq_hz, main_name, main_base, sec_name, sec_base, cell_text) VALUES "
                 "(7, 1, 1, 2, 0, 0, 100, 'Cp', '1E-9', 'D', '0,01', 'first'), "
                 "(7, 1, 1, 2, 0, 0, 100, 'Cp', '2E-9', 'D', '0,02', 'second'), "
                 "(7, 1, 2, 2, 1, 0, 100, 'Cp', '3E-9', 'D', '0,03', 'third')");
    }
    {
        TRunJournal journal;
        const TJournalOutcome opened = journal.open(journalFile(dir));
        ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
        std::optional<TJournalRun> run;
        ASSERT_TRUE(journal.loadRun(7, &run).ok);
        ASSERT_TRUE(run.has_value());
        EXPECT_EQ(run->Summary.CellCount, 2);
        EXPECT_TRUE(run->Summary.UnsavedReadings);

        QMap<QPair<int, int>, QString> shown;
        for (const TJournalGridCell &cell : replayRun(*run).Cells)
            shown[{cell.Row, cell.Col}] = cell.Text;
        EXPECT_EQ(shown.value({1, 2}), "second");
        EXPECT_EQ(shown.value({2, 2}), "third");

        // Recording goes on in the upgraded file.
        TJournalReading next;
        next.Row = 2;
        next.Col = 2;
        next.TempIndex = 1;
        next.CellText = "fourth";
        ASSERT_TRUE(journal.recordReading(7, next).ok);
        ASSERT_TRUE(journal.loadRun(7, &run).ok);
        EXPECT_EQ(run->Summary.CellCount, 2);
        EXPECT_EQ(run->Segments[0].Readings.size(), 4);
    }
    SideConnection side(journalFile(dir));
    EXPECT_EQ(side.value("PRAGMA user_version").toInt(), kJournalSchemaVersion);
}

TEST(JournalSchema, LeavesAFileOfANewerSchemaAlone) {
    QTemporaryDir dir;
    {
        SideConnection newer(journalFile(dir));
        newer.exec("CREATE TABLE future (x)");
        newer.exec("PRAGMA user_version = 99");
    }
    TRunJournal journal;
    const TJournalOutcome opened = journal.open(journalFile(dir));
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.fault, TJournalFault::TooNew);
    EXPECT_TRUE(opened.tell);
    EXPECT_FALSE(journal.isOpen());
    SideConnection side(journalFile(dir));
    EXPECT_EQ(side.value("PRAGMA user_version").toInt(), 99);
}

} // namespace
