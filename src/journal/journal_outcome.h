#pragma once

#include <QString>

class QSqlError;

// Why the run journal is not being kept, or what happened to it on opening.
enum class TJournalFault {
    None,
    NotOpen,           // never opened, or closed
    NoDriver,          // Qt has no SQLite driver
    FolderNotWritable, // the file cannot be created or written where it lies
    DiskFull,
    Locked,  // another program holds the file
    Corrupt, // the file is damaged (on opening it is moved aside and a new one started)
    TooNew,  // written by a newer program with a schema this one does not know
    IoError,
    Failed, // any other database error
};

// The result of an operation on the journal. A failure stops the journal: the
// program goes on without it, and `tell` is set only the first time the
// failure is reported, when the user is to hear of it.
struct TJournalOutcome {
    bool ok = true;
    TJournalFault fault = TJournalFault::None;
    bool tell = false;
    QString path;       // the journal's file, whose folder a failure may name
    QString detail;     // the database's own words, for a failure of no known kind
    QString movedAside; // where a damaged file was put, when it was
};

// The failure an SQLite error stands for, for the journal at `path`.
TJournalOutcome journalFailure(const QSqlError &error, const QString &path);
TJournalOutcome journalFailure(TJournalFault fault, const QString &path,
                               const QString &detail = QString());
// A journal that works again after a damaged file was moved to `movedAside`.
TJournalOutcome journalRecovered(const QString &movedAside);
