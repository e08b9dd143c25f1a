// The journal's outages of the instruments, and the newest run's last start.
#include "journal/run_journal.h"

#include "journal/journal_sql.h"

#include <QSqlQuery>

namespace {

bool exec(QSqlQuery &query, QSqlError *error) {
    query.setForwardOnly(true);
    if (query.exec())
        return true;
    *error = query.lastError();
    return false;
}

} // namespace

TJournalOutcome TRunJournal::recordOutage(qint64 runId, const TLinkOutage &outage) {
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO outages (run_id, instrument, "
                                     "started_at, ended_at) VALUES (?, ?, ?, ?)"));
        query.addBindValue(runId);
        query.addBindValue(int(outage.Instrument));
        query.addBindValue(sqlTime(outage.Start));
        query.addBindValue(sqlTime(outage.End));
        return exec(query, error);
    });
}

TJournalOutcome TRunJournal::outages(qint64 runId, QVector<TLinkOutage> *outages) {
    outages->clear();
    return transact(false, [&](QSqlError *error) { return loadOutages(runId, outages, error); });
}

bool TRunJournal::loadOutages(qint64 runId, QVector<TLinkOutage> *out, QSqlError *error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT instrument, started_at, ended_at FROM outages "
                                 "WHERE run_id = ? ORDER BY started_at, instrument"));
    query.addBindValue(runId);
    if (!exec(query, error))
        return false;
    while (query.next()) {
        const int instrument = query.value(0).toInt();
        out->append({instrument == int(TInstrument::Thermometer) ? TInstrument::Thermometer
                                                                 : TInstrument::Meter,
                     timeFromSql(query.value(1)), timeFromSql(query.value(2))});
    }
    if (!query.lastError().isValid())
        return true;
    *error = query.lastError();
    return false;
}

TJournalOutcome TRunJournal::latestStart(std::optional<TJournalStart> *start) {
    start->reset();
    return transact(false, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "SELECT run_id, start_no, started_at, skip_count FROM starts "
            "WHERE run_id = (SELECT MAX(id) FROM runs) ORDER BY start_no DESC LIMIT 1"));
        if (!exec(query, error))
            return false;
        if (!query.next()) {
            if (!query.lastError().isValid())
                return true;
            *error = query.lastError();
            return false;
        }
        TJournalStart found;
        const qint64 runId = query.value(0).toLongLong();
        const int startNo = query.value(1).toInt();
        found.Time = timeFromSql(query.value(2));
        found.SkipPacketCount = static_cast<uint8_t>(query.value(3).toInt());
        query.finish();
        query.prepare(QStringLiteral("SELECT freq_hz FROM frequencies WHERE run_id = ? AND "
                                     "start_no = ? ORDER BY freq_index"));
        query.addBindValue(runId);
        query.addBindValue(startNo);
        if (!exec(query, error))
            return false;
        while (query.next())
            found.Frequencies << query.value(0).toInt();
        if (query.lastError().isValid()) {
            *error = query.lastError();
            return false;
        }
        *start = found;
        return true;
    });
}
