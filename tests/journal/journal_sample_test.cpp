#include "base/cp1251.h"
#include "journal/journal_replay.h"
#include "journal/journal_schema.h"
#include "journal_support.h"

#include <QFile>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString fixture(const char *name) {
    return QStringLiteral(TAMREL_JOURNAL_FIXTURES "/") + QLatin1String(name);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every row of every table the program before samples wrote, as text.
// The rows of every table, in the columns `columns` names for it; a table it
// does not name yet is read whole, and its columns are added.
QStringList contentOf(SideConnection &side, QHash<QString, QString> &columns) {
    QStringList rows;
    for (const char *table : {"runs", "set_points", "temp_items", "starts", "frequencies",
                              "readings", "actual_temperatures", "cells"}) {
        QSqlQuery query(side.db());
        const QString known = columns.value(QLatin1String(table), QStringLiteral("*"));
        EXPECT_TRUE(query.exec(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY 1, 2").arg(known, QLatin1String(table))));
        if (known == QLatin1String("*")) {
            QStringList names;
            for (int i = 0; i < query.record().count(); ++i)
                names << query.record().fieldName(i);
            columns.insert(QLatin1String(table), names.join(QLatin1Char(',')));
        }
        while (query.next()) {
            QStringList values{QLatin1String(table)};
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

TSample circleSample() {
    TSample s;
    s.Name = QStringLiteral("ПВДФ, плёнка №3");
    s.Shape = TSample::Geometry::Circle;
    s.DiameterMm = 12.5;
    s.ThicknessMm = 0.105;
    s.Operator = QStringLiteral("Иванова");
    s.Notes = QStringLiteral("отожжён 2 ч при 90 °C;\nэлектроды Ag");
    return s;
}

// runs-version2.sqlite was made by the program as it was before samples
// (schema version 2): its window, driven by tests/gui/journal_run_driver
// against tamrel-sim holding 20 °C, ran a table 20..21 °C at the five default
// frequencies, saved runs-version2-saved.tamrel, started again for two more
// readings and was terminated, so its session is not marked clean.
TEST(JournalSample, AFileOfTheProgramBeforeSamplesUpgradesInPlaceAndLosesNothing) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    ASSERT_TRUE(QFile::copy(fixture("runs-version2.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QStringList before;
    // Later versions may add columns; the ones a version 2 file had keep their values.
    QHash<QString, QString> columns;
    {
        SideConnection old(path);
        ASSERT_EQ(old.value("PRAGMA user_version").toInt(), 2);
        before = contentOf(old, columns);
    }
    ASSERT_FALSE(before.isEmpty());

    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
    EXPECT_FALSE(journal.previousSessionClean());
    std::optional<TJournalRunSummary> recover;
    ASSERT_TRUE(journal.runToRecover(&recover).ok);
    ASSERT_TRUE(recover.has_value());
    EXPECT_FALSE(recover->Sample.has_value());
    EXPECT_EQ(recover->CellCount, 5);

    // Replayed, the run saves to the bytes the old program saved.
    std::optional<TJournalRun> run;
    ASSERT_TRUE(journal.loadRun(recover->Id, &run).ok);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->Segments.size(), 2);
    EXPECT_EQ(cp1251::encode(replayRun(*run).CSVTable.TableToText()),
              readFile(fixture("runs-version2-saved.tamrel")));

    // Upgraded, every row is still there as it was, and the run takes a sample.
    ASSERT_TRUE(journal.setSample(recover->Id, circleSample()).ok);
    journal.close();
    {
        SideConnection side(path);
        EXPECT_EQ(side.value("PRAGMA user_version").toInt(), kJournalSchemaVersion);
        EXPECT_EQ(contentOf(side, columns), before);
        EXPECT_EQ(side.value("SELECT name FROM samples").toString(), circleSample().Name);
    }
    // Recording goes on.
    ASSERT_TRUE(journal.reopen().ok);
    const TJournalReading next = run->Segments.last().Readings.last();
    ASSERT_TRUE(journal.recordReading(recover->Id, next).ok);
    ASSERT_TRUE(journal.loadRun(recover->Id, &run).ok);
    EXPECT_EQ(run->Segments.last().Readings.size(), 3);
    EXPECT_EQ(run->Summary.Sample, circleSample());
}

struct JournalSampleStore : ::testing::Test {
    QTemporaryDir dir;
    TRunJournal journal;

    void SetUp() override { ASSERT_TRUE(journal.open(journalFile(dir)).ok); }
    std::optional<TSample> sampleOf(qint64 runId) {
        std::optional<TJournalRun> run;
        EXPECT_TRUE(journal.loadRun(runId, &run).ok);
        return run ? run->Summary.Sample : std::nullopt;
    }
};

TEST_F(JournalSampleStore, EachShapeIsKeptAsTypedAndChangesAfterTheRun) {
    RecordedRun run(journal, 20, 22, 1, 0.3);
    run.start({100, 1000});
    ASSERT_TRUE(run.capture(meterRecord(param::Cp, 1.5e-9, param::D, 0.01, 100, 20)));
    EXPECT_FALSE(sampleOf(run.id()).has_value());

    TSample rectangle;
    rectangle.Shape = TSample::Geometry::Rectangle;
    rectangle.SideAMm = 10;
    rectangle.SideBMm = 20.25;
    rectangle.ThicknessMm = 1;
    TSample area;
    area.Shape = TSample::Geometry::Area;
    area.AreaMm2 = 78.5;
    area.ThicknessMm = 0.5;
    area.DiameterMm = 3; // typed before the shape changed: kept as it is
    TSample empty;
    empty.Shape = TSample::Geometry::EmptyCell;
    empty.EmptyCellPf = 4.7;
    empty.Notes = QStringLiteral("C0 по паспорту ячейки");
    for (const TSample &sample : {circleSample(), rectangle, area, empty}) {
        ASSERT_TRUE(journal.setSample(run.id(), sample).ok);
        const std::optional<TSample> kept = sampleOf(run.id());
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(*kept, sample) << kept->Name.toStdString() << int(sample.Shape);
    }
    // after the run has stopped, and through the list of past runs
    ASSERT_TRUE(journal.endRun(run.id(), QDateTime::currentDateTime()).ok);
    ASSERT_TRUE(journal.setSample(run.id(), circleSample()).ok);
    QVector<TJournalRunSummary> runs;
    ASSERT_TRUE(journal.runs(&runs).ok);
    ASSERT_EQ(runs.size(), 1);
    ASSERT_TRUE(runs[0].Sample.has_value());
    EXPECT_EQ(*runs[0].Sample, circleSample());

    ASSERT_TRUE(journal.setSample(run.id(), std::nullopt).ok);
    EXPECT_FALSE(sampleOf(run.id()).has_value());
}

TEST_F(JournalSampleStore, TheNewestRunWithASampleIsProposedAndDeletingARunTakesItsSample) {
    std::optional<TSample> proposed = TSample();
    ASSERT_TRUE(journal.latestSample(&proposed).ok);
    EXPECT_FALSE(proposed.has_value());

    RecordedRun first(journal, 20, 21, 1, 0.3);
    first.start({100});
    TSample older = circleSample();
    older.Name = QStringLiteral("older");
    ASSERT_TRUE(journal.setSample(first.id(), older).ok);
    RecordedRun second(journal, 20, 21, 1, 0.3);
    second.start({100});
    ASSERT_TRUE(journal.setSample(second.id(), circleSample()).ok);
    RecordedRun third(journal, 20, 21, 1, 0.3); // no sample yet
    third.start({100});

    ASSERT_TRUE(journal.latestSample(&proposed).ok);
    ASSERT_TRUE(proposed.has_value());
    EXPECT_EQ(*proposed, circleSample());

    ASSERT_TRUE(journal.deleteRun(second.id()).ok);
    ASSERT_TRUE(journal.latestSample(&proposed).ok);
    ASSERT_TRUE(proposed.has_value());
    EXPECT_EQ(proposed->Name, "older");
    journal.close();
    SideConnection side(journalFile(dir));
    EXPECT_EQ(side.value("SELECT COUNT(*) FROM samples").toInt(), 1);
}

TEST_F(JournalSampleStore, ValuesNotGivenComeBackAsNotGiven) {
    RecordedRun run(journal, 20, 21, 1, 0.3);
    run.start({100});
    TSample partial; // a circle without its diameter: the journal keeps what it is given
    partial.ThicknessMm = 2;
    ASSERT_TRUE(journal.setSample(run.id(), partial).ok);
    const std::optional<TSample> kept = sampleOf(run.id());
    ASSERT_TRUE(kept.has_value());
    EXPECT_TRUE(std::isnan(kept->DiameterMm));
    EXPECT_TRUE(std::isnan(kept->EmptyCellPf));
    EXPECT_EQ(kept->ThicknessMm, 2);
    EXPECT_TRUE(kept->Name.isEmpty());
    EXPECT_EQ(*kept, partial);
}

} // namespace
