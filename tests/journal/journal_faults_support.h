#pragma once

// What the journal's fault tests share: a small table, a run begun on it and its readings,
// the files' bytes, and the check that a journal stopped at its first failure.
#include "journal/journal_backlog.h"
#include "journal_support.h"

#include <QFile>

#include <gtest/gtest.h>

inline QByteArray readAll(const QString &path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

inline void writeAll(const QString &path, const QByteArray &bytes, qint64 at = 0) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    file.seek(at);
    file.write(bytes);
}

inline TJournalTable smallTable() {
    TJournalTable table;
    table.SetPointTexts = {"20", "21"};
    table.TempStorage.TempInit = 20;
    table.TempStorage.TempFinal = 21;
    table.TempStorage.TempStep = 1;
    table.TempStorage.TempDiff = 0.3;
    table.TempStorage.Add({20, 1, 0});
    table.TempStorage.Add({21, 2, 0});
    return table;
}

inline TJournalStart oneFrequency() {
    TJournalStart start;
    start.Time = QDateTime::currentDateTime();
    start.Frequencies = {1000};
    return start;
}

inline TJournalReading reading(int n) {
    TJournalReading r;
    r.Row = 1 + n % 2;
    r.Col = 2;
    r.TempIndex = n % 2;
    r.Time = QDateTime::currentDateTime();
    r.MainName = "Cp";
    r.MainBase = QString::number(n);
    r.CellText = QStringLiteral("Cp %1 nF;---------; D 0,01 ").arg(n);
    return r;
}

inline qint64 beginRun(TRunJournal &journal) {
    qint64 id = 0;
    const TJournalOutcome outcome = journal.beginRun(smallTable(), oneFrequency(), &id);
    EXPECT_TRUE(outcome.ok) << "fault " << int(outcome.fault);
    return id;
}

// Short enough that a test meeting a held lock does not wait long.
inline constexpr int kShortBusyTimeoutMs = 10;

// The journal stops at its first failure: it is told once, and later
// calls fail quietly with the same fault.
inline void expectStoppedQuietly(TRunJournal &journal, qint64 runId, TJournalFault fault) {
    EXPECT_FALSE(journal.isOpen());
    const TJournalOutcome later = journal.recordReading(runId, reading(0));
    EXPECT_FALSE(later.ok);
    EXPECT_EQ(later.fault, fault);
    EXPECT_FALSE(later.tell);
}

// A run the backlog begins, with the run's id once it is written.
inline qint64 beginRun(TJournalBacklog &backlog) {
    qint64 id = 0;
    const TJournalOutcome outcome = backlog.write([&id](TRunJournal &journal) {
        return journal.beginRun(smallTable(), oneFrequency(), &id);
    });
    EXPECT_TRUE(outcome.ok) << "fault " << int(outcome.fault);
    return id;
}

inline TJournalOutcome writeReading(TJournalBacklog &backlog, qint64 runId, int n) {
    return backlog.write(
        [runId, n](TRunJournal &journal) { return journal.recordReading(runId, reading(n)); });
}

// The readings of the run's first start, as their numbers (reading(n) keeps n in MainBase).
inline QStringList readingNumbers(TRunJournal &journal, qint64 runId) {
    std::optional<TJournalRun> run;
    EXPECT_TRUE(journal.loadRun(runId, &run).ok);
    QStringList numbers;
    if (run && !run->Segments.isEmpty())
        for (const TJournalReading &r : run->Segments.first().Readings)
            numbers << r.MainBase;
    return numbers;
}

inline QStringList numbersUpTo(int count) {
    QStringList numbers;
    for (int n = 0; n < count; ++n)
        numbers << QString::number(n);
    return numbers;
}

// What the next start finds after a program killed while readings waited in
// memory: an unclean end, and the run offered back as incomplete.
inline void expectOfferedAsIncomplete(const QString &path, qint64 runId) {
    TRunJournal next;
    ASSERT_TRUE(next.open(path).ok);
    EXPECT_FALSE(next.previousSessionClean());
    std::optional<TJournalRunSummary> offered;
    ASSERT_TRUE(next.runToRecover(&offered).ok);
    ASSERT_TRUE(offered.has_value());
    EXPECT_EQ(offered->Id, runId);
    EXPECT_TRUE(offered->Incomplete);
}
