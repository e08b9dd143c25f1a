#include "journal/run_journal.h"

#include "base/number_format.h"
#include "journal/journal_schema.h"
#include "journal/journal_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
// Beside the file, "<file>-gap-<run id>" says that run lacks readings.
const QString kGapInfix = QStringLiteral("-gap-");

// SQLite keeps a database's write-ahead log and shared index beside it under these suffixes.
const QStringList kCompanionSuffixes = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};

// "runs.sqlite" becomes "runs-damaged-20241208-090503.sqlite" (with "-2",
// "-3" ... when that name is taken, counting each companion file too).
QString asideName(const QString &path) {
    const QFileInfo info(path);
    const QString stem = info.completeBaseName() + QStringLiteral("-damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    auto taken = [](const QString &candidate) {
        for (const QString &companion : kCompanionSuffixes) {
            if (QFileInfo::exists(candidate + companion))
                return true;
        }
        return false;
    };
    QString candidate = info.dir().filePath(stem + suffix);
    for (int n = 2; taken(candidate); ++n)
        candidate = info.dir().filePath(stem + QLatin1Char('-') +
                                        numfmt::general(n, QLatin1Char('.')) + suffix);
    return candidate;
}

// A file without the marker (empty, foreign or damaged) does not count as clean.
bool endedCleanly(const QSqlDatabase &db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT clean FROM session WHERE id = 1")) && query.next() &&
           query.value(0).toInt() != 0;
}

} // namespace

TRunJournal::TRunJournal(int busyTimeoutMs)
    : m_connectionName(QStringLiteral("tamrel_journal_%1").arg(quintptr(this), 0, 16)),
      m_busyTimeoutMs(busyTimeoutMs) {}

TRunJournal::~TRunJournal() {
    close();
}

TJournalOutcome TRunJournal::open(const QString &path) {
    close();
    m_path = path;
    m_previousSessionClean = true;
    m_newestRunAtOpen = 0;
    m_sessionStarted = false;
    if (!QSqlDatabase::isDriverAvailable(kDriver))
        return fail(journalFailure(TJournalFault::NoDriver, path));

    TJournalOutcome outcome = openFile(true);
    if (outcome.ok) {
        m_fault = TJournalFault::None;
        return outcome;
    }
    if (outcome.fault != TJournalFault::Corrupt)
        return fail(outcome);

    close();
    QString movedTo;
    if (!moveAside(&movedTo))
        return fail(outcome);
    qWarning("run journal: %s was damaged and is kept as %s", qPrintable(path),
             qPrintable(movedTo));
    outcome = openFile(true);
    if (!outcome.ok)
        return fail(outcome);
    m_fault = TJournalFault::None;
    return journalRecovered(movedTo);
}

TJournalOutcome TRunJournal::reopen() {
    if (m_path.isEmpty() || !QSqlDatabase::isDriverAvailable(kDriver))
        return fail(journalFailure(TJournalFault::NotOpen, m_path));
    close();
    const TJournalOutcome outcome = openFile(false);
    if (!outcome.ok)
        return fail(outcome);
    m_fault = TJournalFault::None;
    return outcome;
}

TJournalOutcome TRunJournal::openToRead(const QString &path, const QString &scratchFolder) {
    close();
    const QFileInfo log(path + QStringLiteral("-wal"));
    if (log.exists() && log.size() > 0) {
        const QString copy = QDir(scratchFolder).filePath(QFileInfo(path).fileName());
        for (const QString &companion : {QString(), QStringLiteral("-wal")}) {
            QFile::remove(copy + companion);
            if (!QFile::copy(path + companion, copy + companion))
                return fail(journalFailure(TJournalFault::IoError, path));
        }
        return open(copy);
    }
    m_path = path;
    if (!QSqlDatabase::isDriverAvailable(kDriver))
        return fail(journalFailure(TJournalFault::NoDriver, path));
    // Immutable: SQLite takes no lock and makes no file beside it.
    m_db = QSqlDatabase::addDatabase(kDriver, m_connectionName);
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(QStringLiteral("immutable=1"));
    m_db.setDatabaseName(uri.toString());
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    if (!m_db.open())
        return fail(journalFailure(m_db.lastError(), path));
    m_previousSessionClean = endedCleanly(m_db);
    QSqlQuery newest(m_db);
    if (!newest.exec(QStringLiteral("SELECT IFNULL(MAX(id), 0) FROM runs")) || !newest.next())
        return fail(journalFailure(newest.lastError(), path));
    m_newestRunAtOpen = newest.value(0).toLongLong();
    m_fault = TJournalFault::None;
    return {};
}

TJournalOutcome TRunJournal::openFile(bool newSession) {
    if (newSession && QFileInfo::exists(m_path)) {
        const TJournalOutcome checked = checkFile();
        if (!checked.ok)
            return checked;
    }
    m_db = QSqlDatabase::addDatabase(kDriver, m_connectionName);
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    if (!m_db.open())
        return journalFailure(m_db.lastError(), m_path);
    TJournalOutcome outcome = configure();
    if (outcome.ok)
        outcome = migrateJournal(m_db, m_path);
    if (outcome.ok && !m_sessionStarted)
        outcome = startSession();
    // A reopen's own mark goes once what waits is written.
    if (outcome.ok && newSession)
        outcome = recordGaps();
    if (outcome.ok && newSession)
        outcome = dropEmptyRuns();
    return outcome;
}

// A run the program died in before its first reading, or one an older program
// kept. The newest run's number is noted first: an older run does not take its
// place as the one a restore offers.
TJournalOutcome TRunJournal::dropEmptyRuns() {
    QSqlError error;
    QSqlQuery newest(m_db);
    if (!newest.exec(QStringLiteral("SELECT IFNULL(MAX(id), 0) FROM runs")) || !newest.next())
        return journalFailure(newest.lastError(), m_path);
    m_newestRunAtOpen = newest.value(0).toLongLong();
    newest.finish();
    if (!execSql(m_db,
                 QStringLiteral("DELETE FROM runs WHERE NOT EXISTS "
                                "(SELECT 1 FROM readings WHERE run_id = runs.id)"),
                 &error))
        return journalFailure(error, m_path);
    return {};
}

void TRunJournal::markGap() {
    QFile mark(m_path + kGapInfix + QString::number(m_writingRun));
    // An empty file needs no free block, so the mark is left even on a full disk.
    if (m_writingRun != 0 && !mark.exists() && !mark.open(QIODevice::WriteOnly))
        qWarning("run journal: cannot leave the mark %s: %s", qPrintable(mark.fileName()),
                 qPrintable(mark.errorString()));
}

void TRunJournal::clearGap() {
    const QDir dir = QFileInfo(m_path).dir();
    for (const QString &mark : gapMarks())
        QFile::remove(dir.filePath(mark));
}

// The marks' names beside the journal. Compared by hand: a name filter would
// be a wildcard, which Qt turns into a regular expression, and that engine's
// code would stay in memory for one look at a folder.
QStringList TRunJournal::gapMarks() const {
    const QFileInfo info(m_path);
    const QString prefix = info.fileName() + kGapInfix;
    QStringList marks;
    for (const QString &name : info.dir().entryList(QDir::Files))
        if (name.startsWith(prefix))
            marks << name;
    return marks;
}

// Marks left by a session that ended (or died) with readings still in memory.
TJournalOutcome TRunJournal::recordGaps() {
    const QString prefix = QFileInfo(m_path).fileName() + kGapInfix;
    const QStringList marks = gapMarks();
    if (marks.isEmpty())
        return {};
    QSqlError error;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE runs SET incomplete = 1 WHERE id = ?"));
    for (const QString &mark : marks) {
        query.addBindValue(mark.mid(prefix.size()).toLongLong());
        if (!query.exec())
            return journalFailure(query.lastError(), m_path);
    }
    clearGap();
    return {};
}

// Damage often sits on a page nothing has read yet; the quick check reads
// them all, so a damaged file is found now and not in the middle of a run.
// A file whose last session ended cleanly is not read through: on a large
// journal that takes seconds, and a clean end leaves no half-written page.
// It runs read-only because a writing connection, on closing, would fold the
// log into the damaged file and delete it; the damaged file and its log are
// to be kept exactly as they were found.
// (A read-only connection cannot replay a log into memory of its own, so this
// one, for its moment, maps the -shm file as SQLite usually does; the file it
// makes is removed after it, since the journal itself never uses one.)
TJournalOutcome TRunJournal::checkFile() const {
    const QString name = m_connectionName + QStringLiteral("_check");
    const QString index = m_path + QStringLiteral("-shm");
    const bool indexFound = QFileInfo::exists(index);
    TJournalOutcome outcome;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name);
        db.setDatabaseName(m_path);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
        if (!db.open()) {
            outcome = journalFailure(db.lastError(), m_path);
        } else if (!endedCleanly(db)) {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("PRAGMA quick_check(1)")) || !query.next()) {
                outcome = journalFailure(query.lastError(), m_path);
            } else if (query.value(0).toString() != QLatin1String("ok")) {
                qWarning("run journal: %s fails its check: %s", qPrintable(m_path),
                         qPrintable(query.value(0).toString()));
                outcome = journalFailure(TJournalFault::Corrupt, m_path);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!indexFound)
        QFile::remove(index);
    return outcome;
}

// Exclusive locking keeps the log's index in this program's memory rather than in the
// -shm file mapped beside the journal, so that a -shm file cut short or made unwritable by
// someone else can never end the program with SIGBUS; it also means no other program can
// lock the journal away from a running measurement. The small page makes a reading's
// commit write about 4 KB to the log instead of 13 KB (it applies to a new file; a
// compaction brings an older one to it).
TJournalOutcome TRunJournal::configure() {
    QSqlError error;
    if (!execSql(m_db, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"), &error) ||
        !execSql(m_db, QStringLiteral("PRAGMA page_size = %1").arg(kPageSize), &error))
        return journalFailure(error, m_path);
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
        return journalFailure(query.lastError(), m_path);
    if (query.value(0).toString() != QLatin1String("wal"))
        qWarning("run journal: %s stays in journal mode %s", qPrintable(m_path),
                 qPrintable(query.value(0).toString()));
    if (!execSql(m_db, QStringLiteral("PRAGMA synchronous = FULL"), &error) ||
        !execSql(m_db, QStringLiteral("PRAGMA foreign_keys = ON"), &error))
        return journalFailure(error, m_path);
    return {};
}

// The marker says "running" from now until markCleanShutdown; finding it
// still set means the program before this one did not close normally.
TJournalOutcome TRunJournal::startSession() {
    QSqlError error;
    TSqlTransaction transaction(m_db);
    if (!transaction.begin(true, &error))
        return journalFailure(error, m_path);
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT clean FROM session WHERE id = 1")))
        return journalFailure(query.lastError(), m_path);
    if (query.next())
        m_previousSessionClean = query.value(0).toInt() != 0;
    query.finish();
    query.prepare(
        QStringLiteral("INSERT OR REPLACE INTO session (id, clean, opened_at) VALUES (1, 0, ?)"));
    query.addBindValue(sqlTime(QDateTime::currentDateTime()));
    if (!query.exec() || !transaction.commit(&error))
        return journalFailure(query.lastError().isValid() ? query.lastError() : error, m_path);
    m_sessionStarted = true;
    return {};
}

// Renames the file and its companions together; when one cannot be moved,
// the ones already moved go back, so a log never meets a file it was not
// written for.
bool TRunJournal::moveAside(QString *movedTo) const {
    const QString target = asideName(m_path);
    QStringList moved;
    for (const QString &companion : kCompanionSuffixes) {
        const QString from = m_path + companion;
        if (!QFileInfo::exists(from))
            continue;
        QFile file(from);
        if (file.rename(target + companion)) {
            moved << companion;
            continue;
        }
        qWarning("run journal: cannot move %s aside: %s", qPrintable(from),
                 qPrintable(file.errorString()));
        for (const QString &back : moved) {
            if (!QFile::rename(target + back, m_path + back))
                qWarning("run journal: cannot move %s back", qPrintable(target + back));
        }
        return false;
    }
    *movedTo = target;
    return true;
}

// Actual temperatures not yet written stay for the next write after a reopen.
void TRunJournal::close() {
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

TJournalOutcome TRunJournal::fail(const TJournalOutcome &outcome) {
    close();
    m_fault = outcome.fault;
    return outcome;
}

TJournalOutcome TRunJournal::stopped() const {
    TJournalOutcome outcome;
    outcome.ok = false;
    outcome.fault = m_fault;
    return outcome;
}

TJournalOutcome TRunJournal::transact(bool write, const Body &body) {
    if (!isOpen())
        return stopped();
    // What is read includes the actual temperatures that wait.
    if (!write && !m_waitingActuals.isEmpty()) {
        const TJournalOutcome flushed = transact(true, [](QSqlError *) { return true; });
        if (!flushed.ok)
            return flushed;
    }
    QSqlError error;
    bool done = false;
    {
        TSqlTransaction transaction(m_db);
        done = transaction.begin(write, &error) && body(&error) &&
               (!write || writeWaitingActuals(&error)) && transaction.commit(&error);
    }
    if (!done)
        return fail(journalFailure(error, m_path));
    if (write)
        m_waitingActuals.clear();
    return {};
}

TJournalOutcome TRunJournal::checkpoint() {
    if (!isOpen())
        return stopped();
    QSqlQuery query(m_db);
    // A reader of another program may keep part of the log in use; what it
    // holds is folded in by a later checkpoint, so that is no failure.
    if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
        return fail(journalFailure(query.lastError(), m_path));
    return {};
}

TJournalOutcome TRunJournal::markCleanShutdown() {
    return transact(true, [this](QSqlError *error) {
        return execSql(m_db, QStringLiteral("UPDATE session SET clean = 1 WHERE id = 1"), error);
    });
}
