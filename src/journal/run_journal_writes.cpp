#include "journal/run_journal.h"

#include "journal/journal_sql.h"

#include <QSqlQuery>

namespace {

bool run(QSqlQuery &query, QSqlError *error) {
    if (query.exec())
        return true;
    *error = query.lastError();
    return false;
}

} // namespace

TJournalOutcome TRunJournal::beginRun(const TJournalTable &table, const TJournalStart &start,
                                      qint64 *runId) {
    m_writingRun = 0;
    qint64 id = 0;
    const TJournalOutcome outcome = transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "INSERT INTO runs (started_at, decimal_separator, temp_init, temp_final, temp_step, "
            "temp_diff) VALUES (?, ?, ?, ?, ?, ?)"));
        const TTempStorage &storage = table.TempStorage;
        query.addBindValue(sqlTime(start.Time));
        query.addBindValue(QString(table.DecimalSeparator));
        query.addBindValue(sqlReal(storage.TempInit));
        query.addBindValue(sqlReal(storage.TempFinal));
        query.addBindValue(sqlReal(storage.TempStep));
        query.addBindValue(sqlReal(storage.TempDiff));
        if (!run(query, error))
            return false;
        id = query.lastInsertId().toLongLong();

        query.prepare(
            QStringLiteral("INSERT INTO set_points (run_id, grid_row, text) VALUES (?, ?, ?)"));
        for (int i = 0; i < table.SetPointTexts.size(); ++i) {
            query.addBindValue(id);
            query.addBindValue(i + 1);
            query.addBindValue(table.SetPointTexts.at(i));
            if (!run(query, error))
                return false;
        }
        query.prepare(QStringLiteral("INSERT INTO temp_items (run_id, item_index, set_point, "
                                     "grid_row) VALUES (?, ?, ?, ?)"));
        for (int i = 0; i < storage.Items.size(); ++i) {
            query.addBindValue(id);
            query.addBindValue(i);
            query.addBindValue(sqlReal(storage.Items.at(i).SetPoint));
            query.addBindValue(storage.Items.at(i).Row);
            if (!run(query, error))
                return false;
        }
        return insertStart(id, start, error);
    });
    if (outcome.ok) {
        *runId = id;
        m_writingRun = id;
    }
    return outcome;
}

TJournalOutcome TRunJournal::recordStart(qint64 runId, const TJournalStart &start) {
    m_writingRun = runId;
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("UPDATE runs SET ended_at = NULL WHERE id = ?"));
        query.addBindValue(runId);
        return run(query, error) && insertStart(runId, start, error);
    });
}

bool TRunJournal::insertStart(qint64 runId, const TJournalStart &start, QSqlError *error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT INTO starts (run_id, start_no, started_at, skip_count) "
        "SELECT ?, IFNULL(MAX(start_no), 0) + 1, ?, ? FROM starts WHERE run_id = ?"));
    query.addBindValue(runId);
    query.addBindValue(sqlTime(start.Time));
    query.addBindValue(int(start.SkipPacketCount));
    query.addBindValue(runId);
    if (!run(query, error))
        return false;
    query.prepare(
        QStringLiteral("INSERT INTO frequencies (run_id, start_no, freq_index, freq_hz) "
                       "VALUES (?, (SELECT MAX(start_no) FROM starts WHERE run_id = ?), ?, ?)"));
    for (int i = 0; i < start.Frequencies.size(); ++i) {
        query.addBindValue(runId);
        query.addBindValue(runId);
        query.addBindValue(i);
        query.addBindValue(start.Frequencies.at(i));
        if (!run(query, error))
            return false;
    }
    return true;
}

// The history row and the cell's pointer to it go in together, so the cell
// view never shows a reading the history does not hold.
TJournalOutcome TRunJournal::recordReading(qint64 runId, const TJournalReading &r) {
    m_writingRun = runId;
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "INSERT INTO readings (run_id, start_no, grid_row, grid_col, csv_row, csv_col, "
            "recorded_at, set_point, temperature, freq_hz, frame, main_name, main_value, "
            "main_unit, main_base, sec_name, sec_value, sec_unit, sec_base, cell_text) "
            "VALUES (?, (SELECT MAX(start_no) FROM starts WHERE run_id = ?), "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &value :
             {QVariant(runId),         QVariant(runId),       QVariant(r.Row),
              QVariant(r.Col),         QVariant(r.TempIndex), QVariant(r.FreqIndex),
              sqlTime(r.Time),         sqlReal(r.SetPoint),   sqlReal(r.Temperature),
              QVariant(r.FrequencyHz), QVariant(r.Frame),     QVariant(r.MainName),
              QVariant(r.MainValue),   QVariant(r.MainUnit),  QVariant(r.MainBase),
              QVariant(r.SecName),     QVariant(r.SecValue),  QVariant(r.SecUnit),
              QVariant(r.SecBase),     QVariant(r.CellText)})
            query.addBindValue(value);
        if (!run(query, error))
            return false;
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO cells (run_id, grid_row, grid_col, "
                                     "seq) VALUES (?, ?, ?, last_insert_rowid())"));
        query.addBindValue(runId);
        query.addBindValue(r.Row);
        query.addBindValue(r.Col);
        return run(query, error);
    });
}

// The thermometer refresh rewrites the cell five times a second with mostly
// the same text; only a change is kept, and only the next write commits it.
TJournalOutcome TRunJournal::recordActualTemperature(qint64 runId,
                                                     const TJournalActualTemperature &actual) {
    if (runId != m_actualRun) {
        if (!m_waitingActuals.isEmpty()) {
            const TJournalOutcome flushed = transact(true, [](QSqlError *) { return true; });
            if (!flushed.ok)
                return flushed;
        }
        m_actualRun = runId;
        m_actualTexts.clear();
    }
    const auto known = m_actualTexts.constFind(actual.Row);
    if (known != m_actualTexts.constEnd() && *known == actual.Text)
        return {};
    m_actualTexts.insert(actual.Row, actual.Text);
    m_waitingActuals.insert(actual.Row, actual);
    return {};
}

// A run deleted meanwhile takes no temperatures.
bool TRunJournal::writeWaitingActuals(QSqlError *error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT OR REPLACE INTO actual_temperatures (run_id, grid_row, recorded_at, set_point, "
        "temperature, text) SELECT ?, ?, ?, ?, ?, ? WHERE EXISTS (SELECT 1 FROM runs WHERE id = "
        "?)"));
    for (const TJournalActualTemperature &actual : std::as_const(m_waitingActuals)) {
        for (const QVariant &value :
             {QVariant(m_actualRun), QVariant(actual.Row), sqlTime(actual.Time),
              sqlReal(actual.SetPoint), sqlReal(actual.Temperature), QVariant(actual.Text),
              QVariant(m_actualRun)})
            query.addBindValue(value);
        if (!run(query, error))
            return false;
    }
    return true;
}

TJournalOutcome TRunJournal::endRun(qint64 runId, const QDateTime &time) {
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("UPDATE runs SET ended_at = ? WHERE id = ?"));
        query.addBindValue(sqlTime(time));
        query.addBindValue(runId);
        if (!run(query, error))
            return false;
        query.prepare(QStringLiteral("DELETE FROM runs WHERE id = ? AND NOT EXISTS "
                                     "(SELECT 1 FROM readings WHERE run_id = ?)"));
        query.addBindValue(runId);
        query.addBindValue(runId);
        return run(query, error);
    });
}

TJournalOutcome TRunJournal::markSaved(qint64 runId, qint64 throughSeq, const QString &fileName,
                                       const QDateTime &time) {
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "UPDATE runs SET saved_file = ?, saved_at = ?, saved_through = "
            "IFNULL((SELECT MAX(seq) FROM readings WHERE run_id = ? AND (? < 0 OR seq <= ?)), 0) "
            "WHERE id = ?"));
        query.addBindValue(fileName);
        query.addBindValue(sqlTime(time));
        query.addBindValue(runId);
        query.addBindValue(throughSeq);
        query.addBindValue(throughSeq);
        query.addBindValue(runId);
        return run(query, error);
    });
}

TJournalOutcome TRunJournal::clearCell(qint64 runId, int row, int col) {
    m_writingRun = runId;
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "INSERT INTO clearings (run_id, grid_row, grid_col, after_seq) "
            "VALUES (?, ?, ?, IFNULL((SELECT MAX(seq) FROM readings WHERE run_id = ?), 0))"));
        for (const QVariant &value :
             {QVariant(runId), QVariant(row), QVariant(col), QVariant(runId)})
            query.addBindValue(value);
        if (!run(query, error))
            return false;
        query.prepare(
            QStringLiteral("DELETE FROM cells WHERE run_id = ? AND grid_row = ? AND grid_col = ?"));
        for (const QVariant &value : {QVariant(runId), QVariant(row), QVariant(col)})
            query.addBindValue(value);
        return run(query, error);
    });
}

TJournalOutcome TRunJournal::deleteRun(qint64 runId) {
    return deleteRuns({runId});
}
