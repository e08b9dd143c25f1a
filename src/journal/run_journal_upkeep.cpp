// Keeping the journal small: its size on disk, runs deleted by age, compaction.
#include "journal/run_journal.h"

#include "journal/journal_sql.h"

#include <QFileInfo>
#include <QSqlQuery>

qint64 TRunJournal::bytesOnDisk() const {
    qint64 bytes = 0;
    for (const QString &companion : {QString(), QStringLiteral("-wal")})
        bytes += QFileInfo(m_path + companion).size();
    return bytes;
}

TJournalOutcome TRunJournal::deleteRuns(const QVector<qint64> &runIds) {
    if (runIds.contains(m_actualRun)) {
        m_actualRun = 0;
        m_actualTexts.clear();
        m_waitingActuals.clear();
    }
    return transact(true, [&](QSqlError *error) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("DELETE FROM runs WHERE id = ?"));
        for (const qint64 id : runIds) {
            query.addBindValue(id);
            if (!query.exec()) {
                *error = query.lastError();
                return false;
            }
        }
        return true;
    });
}

// Deleted runs leave free pages the file keeps; VACUUM writes the file anew
// without them, at the page size a new journal takes. The page size can
// change only outside WAL mode, so the journal leaves it for the rebuild.
TJournalOutcome TRunJournal::compact() {
    const TJournalOutcome checkpointed = checkpoint();
    if (!checkpointed.ok)
        return checkpointed;
    QSqlError error;
    for (const QString &statement :
         {QStringLiteral("PRAGMA journal_mode = DELETE"),
          QStringLiteral("PRAGMA page_size = %1").arg(kPageSize), QStringLiteral("VACUUM"),
          QStringLiteral("PRAGMA journal_mode = WAL")}) {
        if (!execSql(m_db, statement, &error))
            return fail(journalFailure(error, m_path));
    }
    return {};
}
