#include "journal/run_journal.h"

#include "journal/journal_reading_scan.h"
#include "journal/journal_sample_sql.h"
#include "journal/journal_sql.h"

#include <QHash>
#include <QSqlQuery>

namespace {

// Runs a prepared SELECT forward-only, so that large results are not cached twice.
bool select(QSqlQuery &query, const QString &sql, std::initializer_list<QVariant> values,
            QSqlError *error) {
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    *error = query.lastError();
    return false;
}

// Rows iterated to the end report a failure (a damaged page) through lastError.
bool finished(const QSqlQuery &query, QSqlError *error) {
    if (!query.lastError().isValid())
        return true;
    *error = query.lastError();
    return false;
}

} // namespace

TJournalOutcome TRunJournal::runs(QVector<TJournalRunSummary> *summaries) {
    summaries->clear();
    return transact(false,
                    [&](QSqlError *error) { return querySummaries(0, -1, summaries, error); });
}

TJournalOutcome TRunJournal::runToRecover(std::optional<TJournalRunSummary> *run) {
    run->reset();
    if (m_previousSessionClean && isOpen())
        return {};
    QVector<TJournalRunSummary> newest;
    const TJournalOutcome outcome =
        transact(false, [&](QSqlError *error) { return querySummaries(0, 1, &newest, error); });
    if (outcome.ok && !newest.isEmpty() && newest.first().Id == m_newestRunAtOpen &&
        newest.first().UnsavedReadings)
        *run = newest.first();
    return outcome;
}

TJournalOutcome TRunJournal::loadRun(qint64 runId, std::optional<TJournalRun> *run) {
    run->reset();
    TJournalRun loaded;
    bool found = false;
    const TJournalOutcome outcome = transact(false, [&](QSqlError *error) {
        QVector<TJournalRunSummary> summary;
        if (!querySummaries(runId, 1, &summary, error))
            return false;
        found = !summary.isEmpty();
        if (!found)
            return true;
        loaded.Summary = summary.first();
        return loadTable(runId, &loaded.Table, error) &&
               loadSegments(runId, &loaded.Segments, error) &&
               loadClearings(runId, &loaded.Clearings, error) &&
               loadActualTemperatures(runId, &loaded.ActualTemperatures, error) &&
               loadOutages(runId, &loaded.Outages, error);
    });
    if (outcome.ok && found)
        *run = std::move(loaded);
    return outcome;
}

// runId 0 takes every run; limit -1 takes all of them.
bool TRunJournal::querySummaries(qint64 runId, int limit, QVector<TJournalRunSummary> *out,
                                 QSqlError *error) {
    QSqlQuery query(m_db);
    if (!select(
            query,
            QStringLiteral("SELECT r.id, r.started_at, r.ended_at, r.saved_file, r.saved_at, "
                           "r.saved_through, "
                           "(SELECT COUNT(*) FROM set_points WHERE run_id = r.id), "
                           "(SELECT COUNT(*) FROM frequencies WHERE run_id = r.id AND start_no = "
                           "  (SELECT MAX(start_no) FROM starts WHERE run_id = r.id)), "
                           "(SELECT COUNT(*) FROM cells WHERE run_id = r.id), "
                           "(SELECT MAX(seq) FROM readings WHERE run_id = r.id), "
                           "(SELECT recorded_at FROM readings WHERE run_id = r.id "
                           "  ORDER BY seq DESC LIMIT 1), r.incomplete, %1 "
                           "FROM runs r LEFT JOIN samples s ON s.run_id = r.id "
                           "WHERE ? = 0 OR r.id = ? ORDER BY r.id DESC LIMIT ?")
                .arg(sampleColumns(QStringLiteral("s"))),
            {runId, runId, limit}, error))
        return false;
    while (query.next()) {
        TJournalRunSummary s;
        s.Id = query.value(0).toLongLong();
        s.StartedAt = timeFromSql(query.value(1));
        s.EndedAt = timeFromSql(query.value(2));
        if (!s.EndedAt.isValid())
            s.EndedAt = timeFromSql(query.value(10));
        s.SavedFile = query.value(3).toString();
        s.SavedAt = timeFromSql(query.value(4));
        s.SetPointCount = query.value(6).toInt();
        s.FrequencyCount = query.value(7).toInt();
        s.CellCount = query.value(8).toInt();
        const QVariant lastReading = query.value(9);
        s.UnsavedReadings =
            !lastReading.isNull() && lastReading.toLongLong() > query.value(5).toLongLong();
        s.LastSeq = lastReading.toLongLong();
        s.Incomplete = query.value(11).toInt() != 0;
        s.Sample = sampleFromRow(query, 12);
        out->append(s);
    }
    return finished(query, error);
}

bool TRunJournal::loadTable(qint64 runId, TJournalTable *table, QSqlError *error) {
    QSqlQuery query(m_db);
    if (!select(query,
                QStringLiteral("SELECT decimal_separator, temp_init, temp_final, temp_step, "
                               "temp_diff FROM runs WHERE id = ?"),
                {runId}, error))
        return false;
    if (query.next()) {
        const QString separator = query.value(0).toString();
        table->DecimalSeparator = separator.isEmpty() ? QLatin1Char(',') : separator.at(0);
        table->TempStorage.TempInit = realFromSql(query.value(1));
        table->TempStorage.TempFinal = realFromSql(query.value(2));
        table->TempStorage.TempStep = realFromSql(query.value(3));
        table->TempStorage.TempDiff = realFromSql(query.value(4));
    }
    if (!finished(query, error) ||
        !select(query,
                QStringLiteral("SELECT text FROM set_points WHERE run_id = ? ORDER BY grid_row"),
                {runId}, error))
        return false;
    while (query.next())
        table->SetPointTexts << query.value(0).toString();
    if (!finished(query, error) ||
        !select(query,
                QStringLiteral("SELECT set_point, grid_row FROM temp_items WHERE run_id = ? "
                               "ORDER BY item_index"),
                {runId}, error))
        return false;
    while (query.next()) {
        TTempItem item;
        item.SetPoint = realFromSql(query.value(0));
        item.Row = query.value(1).toInt();
        table->TempStorage.Add(item);
    }
    return finished(query, error);
}

bool TRunJournal::loadSegments(qint64 runId, QVector<TJournalSegment> *segments, QSqlError *error) {
    QHash<int, int> segmentOfStart;
    QSqlQuery query(m_db);
    if (!select(query,
                QStringLiteral("SELECT start_no, started_at, skip_count FROM starts "
                               "WHERE run_id = ? ORDER BY start_no"),
                {runId}, error))
        return false;
    while (query.next()) {
        TJournalSegment segment;
        segment.Start.Time = timeFromSql(query.value(1));
        segment.Start.SkipPacketCount = static_cast<uint8_t>(query.value(2).toInt());
        segmentOfStart.insert(query.value(0).toInt(), segments->size());
        segments->append(segment);
    }
    if (!finished(query, error) ||
        !select(query,
                QStringLiteral("SELECT start_no, freq_hz FROM frequencies WHERE run_id = ? "
                               "ORDER BY start_no, freq_index"),
                {runId}, error))
        return false;
    while (query.next()) {
        const int segment = segmentOfStart.value(query.value(0).toInt(), -1);
        if (segment >= 0)
            (*segments)[segment].Start.Frequencies << query.value(1).toInt();
    }
    if (!finished(query, error) ||
        // Each bound on its own, so that each is one step down the run's
        // index; asked for together, SQLite walks all of the run's entries.
        !select(query,
                QStringLiteral("SELECT (SELECT MIN(seq) FROM readings WHERE run_id = ?), "
                               "(SELECT MAX(seq) FROM readings WHERE run_id = ?)"),
                {runId, runId}, error))
        return false;
    const bool any = query.next() && !query.value(0).isNull();
    const qint64 first = any ? query.value(0).toLongLong() : 0;
    const qint64 last = any ? query.value(1).toLongLong() : -1;
    if (!finished(query, error))
        return false;
    int lastStart = 0;
    QVector<TJournalReading> *lastReadings = nullptr;
    return scanReadings(
        m_db, {runId, first, last},
        [&](int startNo, TJournalReading &&reading) {
            if (!lastReadings || startNo != lastStart) {
                const int segment = segmentOfStart.value(startNo, -1);
                if (segment < 0)
                    return;
                lastStart = startNo;
                lastReadings = &(*segments)[segment].Readings;
            }
            lastReadings->append(std::move(reading));
        },
        error);
}

bool TRunJournal::loadClearings(qint64 runId, QVector<TJournalClearing> *out, QSqlError *error) {
    QSqlQuery query(m_db);
    if (!select(query,
                QStringLiteral("SELECT grid_row, grid_col, after_seq FROM clearings "
                               "WHERE run_id = ? ORDER BY after_seq, rowid"),
                {runId}, error))
        return false;
    while (query.next())
        out->append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toLongLong()});
    return finished(query, error);
}

bool TRunJournal::loadActualTemperatures(qint64 runId, QVector<TJournalActualTemperature> *out,
                                         QSqlError *error) {
    QSqlQuery query(m_db);
    if (!select(query,
                QStringLiteral("SELECT grid_row, recorded_at, set_point, temperature, text "
                               "FROM actual_temperatures WHERE run_id = ? ORDER BY grid_row"),
                {runId}, error))
        return false;
    while (query.next()) {
        TJournalActualTemperature actual;
        actual.Row = query.value(0).toInt();
        actual.Time = timeFromSql(query.value(1));
        actual.SetPoint = realFromSql(query.value(2));
        actual.Temperature = realFromSql(query.value(3));
        actual.Text = query.value(4).toString();
        out->append(actual);
    }
    return finished(query, error);
}
