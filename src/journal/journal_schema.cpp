#include "journal/journal_schema.h"

#include "journal/journal_sql.h"

#include <QSqlQuery>

#include <algorithm>
#include <initializer_list>

namespace {

// Version 1: the session marker, the runs with their tables and starts, and
// every reading and actual temperature as recorded. Readings are never
// updated or deleted apart from their run: the order in which parameter names
// first appeared decides the block order of the measurement file.
const std::initializer_list<const char *> kVersion1 = {
    R"(CREATE TABLE session (
         id INTEGER PRIMARY KEY CHECK (id = 1),
         clean INTEGER NOT NULL,
         opened_at TEXT))",
    R"(CREATE TABLE runs (
         id INTEGER PRIMARY KEY AUTOINCREMENT,
         started_at TEXT,
         ended_at TEXT,
         decimal_separator TEXT,
         temp_init REAL,
         temp_final REAL,
         temp_step REAL,
         temp_diff REAL,
         saved_file TEXT,
         saved_at TEXT,
         saved_through INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE set_points (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         grid_row INTEGER NOT NULL,
         text TEXT,
         PRIMARY KEY (run_id, grid_row)) WITHOUT ROWID)",
    R"(CREATE TABLE temp_items (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         item_index INTEGER NOT NULL,
         set_point REAL,
         grid_row INTEGER NOT NULL,
         PRIMARY KEY (run_id, item_index)) WITHOUT ROWID)",
    R"(CREATE TABLE starts (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         start_no INTEGER NOT NULL,
         started_at TEXT,
         skip_count INTEGER NOT NULL,
         PRIMARY KEY (run_id, start_no)) WITHOUT ROWID)",
    R"(CREATE TABLE frequencies (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         start_no INTEGER NOT NULL,
         freq_index INTEGER NOT NULL,
         freq_hz INTEGER NOT NULL,
         PRIMARY KEY (run_id, start_no, freq_index)) WITHOUT ROWID)",
    R"(CREATE TABLE readings (
         seq INTEGER PRIMARY KEY,
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         start_no INTEGER NOT NULL,
         grid_row INTEGER NOT NULL,
         grid_col INTEGER NOT NULL,
         csv_row INTEGER NOT NULL,
         csv_col INTEGER NOT NULL,
         recorded_at TEXT,
         set_point REAL,
         temperature REAL,
         freq_hz INTEGER NOT NULL,
         frame BLOB,
         main_name TEXT,
         main_value TEXT,
         main_unit TEXT,
         main_base TEXT,
         sec_name TEXT,
         sec_value TEXT,
         sec_unit TEXT,
         sec_base TEXT,
         cell_text TEXT))",
    R"(CREATE INDEX readings_of_run ON readings (run_id, seq))",
    R"(CREATE TABLE actual_temperatures (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         grid_row INTEGER NOT NULL,
         recorded_at TEXT,
         set_point REAL,
         temperature REAL,
         text TEXT,
         PRIMARY KEY (run_id, grid_row)) WITHOUT ROWID)",
};

// Version 2: the reading each cell shows now, in a table of its own, so that
// counting and showing filled cells takes no pass over the whole history.
const std::initializer_list<const char *> kVersion2 = {
    R"(CREATE TABLE cells (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         grid_row INTEGER NOT NULL,
         grid_col INTEGER NOT NULL,
         seq INTEGER NOT NULL,
         PRIMARY KEY (run_id, grid_row, grid_col)) WITHOUT ROWID)",
    R"(INSERT INTO cells (run_id, grid_row, grid_col, seq)
         SELECT run_id, grid_row, grid_col, MAX(seq) FROM readings
         GROUP BY run_id, grid_row, grid_col)",
};

// Version 3: the sample a run measured, one row per run that has one. The
// values are as the operator typed them (lengths in mm, the area in mm², C0
// in pF); NULL where not given.
const std::initializer_list<const char *> kVersion3 = {
    R"(CREATE TABLE samples (
         run_id INTEGER PRIMARY KEY REFERENCES runs (id) ON DELETE CASCADE,
         name TEXT,
         shape TEXT NOT NULL,
         diameter_mm REAL,
         side_a_mm REAL,
         side_b_mm REAL,
         area_mm2 REAL,
         thickness_mm REAL,
         empty_cell_pf REAL,
         operator TEXT,
         notes TEXT,
         changed_at TEXT))",
};

// Version 4: cells the user emptied, in the order of the history, and the
// runs whose readings did not all reach the journal.
const std::initializer_list<const char *> kVersion4 = {
    R"(CREATE TABLE clearings (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         grid_row INTEGER NOT NULL,
         grid_col INTEGER NOT NULL,
         after_seq INTEGER NOT NULL))",
    R"(CREATE INDEX clearings_of_run ON clearings (run_id, after_seq))",
    R"(ALTER TABLE runs ADD COLUMN incomplete INTEGER NOT NULL DEFAULT 0)",
};

// Version 5: the times during a run in which an instrument sent nothing
// (instrument 1 the meter, 2 the thermometer); ended_at is NULL while the
// silence goes on, and stays so when the program died during it.
const std::initializer_list<const char *> kVersion5 = {
    R"(CREATE TABLE outages (
         run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
         instrument INTEGER NOT NULL,
         started_at TEXT NOT NULL,
         ended_at TEXT,
         PRIMARY KEY (run_id, instrument, started_at)) WITHOUT ROWID)",
};

const std::initializer_list<const char *> kSteps[kJournalSchemaVersion] = {
    kVersion1, kVersion2, kVersion3, kVersion4, kVersion5};

bool readVersion(const QSqlDatabase &db, int *version, QSqlError *error) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        *error = query.lastError();
        return false;
    }
    *version = query.value(0).toInt();
    return true;
}

} // namespace

TJournalOutcome migrateJournal(const QSqlDatabase &db, const QString &path, int targetVersion) {
    QSqlError error;
    TSqlTransaction transaction(db);
    int version = 0;
    // Read under the write lock, so that two programs never both upgrade.
    if (!transaction.begin(true, &error) || !readVersion(db, &version, &error))
        return journalFailure(error, path);
    if (version > kJournalSchemaVersion)
        return journalFailure(TJournalFault::TooNew, path);
    targetVersion = std::min(targetVersion, kJournalSchemaVersion);
    if (version >= targetVersion)
        return {};
    for (int v = version + 1; v <= targetVersion; ++v) {
        for (const char *statement : kSteps[v - 1]) {
            if (!execSql(db, QString::fromUtf8(statement), &error))
                return journalFailure(error, path);
        }
    }
    if (!execSql(db, QStringLiteral("PRAGMA user_version = %1").arg(targetVersion), &error) ||
        !transaction.commit(&error))
        return journalFailure(error, path);
    return {};
}
