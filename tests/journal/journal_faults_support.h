#pragma once

// What the journal's fault tests share: a small table, a run begun on it and its readings,
// the files' bytes, and the check that a journal stopped at its first failure.
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
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    return id;
}

// The journal stops at its first failure: the message comes once, and later
// calls fail quietly with the same fault.
inline void expectStoppedQuietly(TRunJournal &journal, qint64 runId, TJournalFault fault) {
    EXPECT_FALSE(journal.isOpen());
    const TJournalOutcome later = journal.recordReading(runId, reading(0));
    EXPECT_FALSE(later.ok);
    EXPECT_EQ(later.fault, fault);
    EXPECT_TRUE(later.message.isEmpty());
}
