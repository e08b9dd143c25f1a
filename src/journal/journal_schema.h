#pragma once

#include "journal/journal_outcome.h"

#include <QSqlDatabase>

// The journal's tables, created and brought up to date by the program only:
// PRAGMA user_version holds the version a file has reached, and every
// version's step stays as it was written, so a file of any older version
// takes the same road to the current one.
inline constexpr int kJournalSchemaVersion = 5;

// Applies the steps after the file's version up to `targetVersion`, in one
// transaction. A file of a version above kJournalSchemaVersion is left alone
// (fault TooNew). `path` is the file a failure names.
TJournalOutcome migrateJournal(const QSqlDatabase &db, const QString &path,
                               int targetVersion = kJournalSchemaVersion);
