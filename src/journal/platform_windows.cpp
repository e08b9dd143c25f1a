#include "journal/journal_reading_scan.h"

// The SQLite of Qt's driver here is built into the driver and its functions
// are not exported, so its connection can only be used through Qt SQL.
bool scanReadings(const QSqlDatabase &db, const TReadingRange &range, const TReadingSink &take,
                  QSqlError *error) {
    return scanReadingsThroughQt(db, range, take, error);
}

bool readsStraightThroughSqlite(const QSqlDatabase &) {
    return false;
}
