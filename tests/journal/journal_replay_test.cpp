#include "base/number_format.h"
#include "files/measurement_file.h"
#include "journal/journal_replay.h"
#include "journal_support.h"
#include "run/set_points.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct ReplayCase {
    const char *name;
    double tempInit, tempFinal, tempStep, tempDiff;
    std::function<void(RecordedRun &)> act;
};

TEventRec cp(double value, int hz, double t) {
    return meterRecord(param::Cp, value, param::D, 0.0123, hz, t);
}

QMap<QPair<int, int>, QString> cellsOf(const TJournalReplay &replay) {
    QMap<QPair<int, int>, QString> cells;
    for (const TJournalGridCell &cell : replay.Cells)
        cells[{cell.Row, cell.Col}] = cell.Text;
    return cells;
}

// What the grid showed: the headers, the set points and the frequencies of
// the latest start, and whatever the run wrote.
QMap<QPair<int, int>, QString> shownGrid(const RecordedRun &run) {
    QMap<QPair<int, int>, QString> cells = run.grid;
    cells[{0, 0}] = QString::fromUtf8(kSetPointHeaderText);
    cells[{0, 1}] = QString::fromUtf8(kActualTempHeaderText);
    for (int i = 0; i < run.setPointTexts.size(); ++i)
        cells[{i + 1, 0}] = run.setPointTexts.at(i);
    for (const TFreqItem &item : run.freqs.Items)
        cells[{0, item.Col}] = numfmt::general(item.Freq, run.separator);
    return cells;
}

// Saving right after a restore writes what the program would have written
// had it lived: the replayed CSV table, storages and grid equal the ones
// built by the calls the run itself makes.
TEST(JournalReplay, RebuildsTheRunAsTheProgramHeldIt) {
    const ReplayCase cases[] = {
        {"one sweep", 20, 22, 1, 0.3,
         [](RecordedRun &run) {
             run.start({100, 1000, 5000});
             run.capture(cp(1.52e-9, 100, 20.1));
             run.capture(cp(1.51e-9, 1000, 20.0));
             run.capture(cp(1.50e-9, 5000, 19.9));
             run.actualTemperature(19.9);
             run.capture(cp(1.53e-9, 100, 21.2));
             run.actualTemperature(21.2);
         }},
        {"a cell recorded again", 20, 22, 1, 0.3,
         [](RecordedRun &run) {
             run.start({100, 1000});
             run.capture(cp(1.52e-9, 100, 20.1));
             run.capture(cp(1.61e-9, 100, 20.2));
         }},
        // The meter switched from Cp to Rs: the cell shows Rs, while the CSV
        // table keeps the old Cp value in its own block and adds Rs blocks after.
        {"the meter switched from Cp to Rs", 20, 22, 1, 0.3,
         [](RecordedRun &run) {
             run.start({100, 1000});
             run.capture(cp(1.52e-9, 100, 20.0));
             run.capture(cp(1.51e-9, 1000, 20.0));
             run.capture(meterRecord(param::Rs, 1234.5, param::Q, 12.5, 100, 20.1));
             run.capture(meterRecord(param::Rs, 1250.0, param::Q, 11.0, 1000, 21.0));
             run.capture(cp(1.49e-9, 100, 22.0));
         }},
        // Stopped and started again after the frequencies were retyped: the
        // CSV columns take the new titles and the readings stay.
        {"started again with other frequencies", 20, 22, 1, 0.3,
         [](RecordedRun &run) {
             run.start({100, 1000});
             run.capture(cp(1.52e-9, 100, 20.0));
             run.capture(cp(1.51e-9, 1000, 20.0));
             run.start({200, 2000}, 3);
             run.capture(cp(1.48e-9, 2000, 20.0));
             run.capture(cp(1.47e-9, 200, 21.0));
         }},
        // 0,3 - 3 x 0,1 misses zero by a rounding error; its CSV title shows
        // the stored double (-5,551E-017), not the grid's text read back.
        {"a descending table whose set point misses zero", 0.3, -0.3, 0.1, 0.04,
         [](RecordedRun &run) {
             run.start({1000});
             run.capture(cp(1.52e-9, 1000, 0.0));
             run.capture(cp(1.51e-9, 1000, -0.29));
         }},
    };
    for (const ReplayCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        TRunJournal journal;
        ASSERT_TRUE(journal.open(journalFile(dir)).ok);
        RecordedRun run(journal, c.tempInit, c.tempFinal, c.tempStep, c.tempDiff);
        c.act(run);

        std::optional<TJournalRun> loaded;
        ASSERT_TRUE(journal.loadRun(run.id(), &loaded).ok);
        ASSERT_TRUE(loaded.has_value());
        const TJournalReplay replay = replayRun(*loaded);

        // The header values come from the last reading's frame, as a save
        // with that frame as the newest meter record would take them.
        FillHeaderFromPacket(run.csv, run.lastPacket);
        EXPECT_EQ(replay.CSVTable.TableToText(), run.csv.TableToText());
        EXPECT_EQ(replay.CSVTable.ParamNames(), run.csv.ParamNames());

        EXPECT_EQ(replay.RowCount, run.setPointTexts.size() + 1);
        EXPECT_EQ(replay.ColCount, run.colCount);
        EXPECT_EQ(cellsOf(replay), shownGrid(run));

        ASSERT_EQ(replay.TempStorage.Items.size(), run.temps.Items.size());
        for (int i = 0; i < run.temps.Items.size(); ++i) {
            EXPECT_EQ(replay.TempStorage.Items[i].SetPoint, run.temps.Items[i].SetPoint);
            EXPECT_EQ(replay.TempStorage.Items[i].Row, run.temps.Items[i].Row);
            EXPECT_EQ(replay.TempStorage.Items[i].Index, i);
        }
        for (double TTempStorage::*field : {&TTempStorage::TempInit, &TTempStorage::TempFinal,
                                            &TTempStorage::TempStep, &TTempStorage::TempDiff})
            EXPECT_EQ(replay.TempStorage.*field, run.temps.*field);
        ASSERT_EQ(replay.FreqStorage.Items.size(), run.freqs.Items.size());
        for (int i = 0; i < run.freqs.Items.size(); ++i) {
            EXPECT_EQ(replay.FreqStorage.Items[i].Freq, run.freqs.Items[i].Freq);
            EXPECT_EQ(replay.FreqStorage.Items[i].Col, run.freqs.Items[i].Col);
            EXPECT_EQ(replay.FreqStorage.Items[i].Index, i);
        }
    }
}

} // namespace
