#pragma once

#include "journal/journal_records.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <functional>

// Reading a run's readings out of the journal, the one pass a restore spends
// most of its time in.

// The readings numbered First..Last that belong to run RunId.
struct TReadingRange {
    qint64 RunId = 0;
    qint64 First = 0;
    qint64 Last = -1;
};

// Receives each reading, oldest first, with the number of the start it was
// recorded under.
using TReadingSink = std::function<void(int startNo, TJournalReading &&reading)>;

// Through Qt SQL, on every system.
bool scanReadingsThroughQt(const QSqlDatabase &db, const TReadingRange &range,
                           const TReadingSink &take, QSqlError *error);

// The quickest way this system has: where the program and Qt's SQLite driver
// share one SQLite library, straight through SQLite on the driver's own
// connection (no value of a row passes through QVariant, and a text equal to
// the previous row's is shared, not read again); elsewhere through Qt SQL.
bool scanReadings(const QSqlDatabase &db, const TReadingRange &range, const TReadingSink &take,
                  QSqlError *error);

// Whether scanReadings reads straight through SQLite on this connection.
bool readsStraightThroughSqlite(const QSqlDatabase &db);

// The statement both ways run: ?1 First, ?2 Last, ?3 RunId. The run's
// readings lie together in the history (another run's only when it was
// continued later), so they are read along the table itself; "+" keeps
// SQLite from fetching each through the index instead.
extern const char kSelectReadings[];
