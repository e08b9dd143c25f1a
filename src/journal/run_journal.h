#pragma once

#include "journal/journal_outcome.h"
#include "journal/journal_records.h"

#include <QHash>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

// The run journal: one SQLite file (WAL, synchronous=FULL) that keeps every
// prepared table that was run, each start, every reading and actual
// temperature, committed as each is recorded, so that a run survives the
// program's death. While open, the file is this program's alone (exclusive
// locking, no -shm file); other programs may read it once it is closed.
//
// Every call returns an outcome. A failure closes the connection: the
// outcome is to be told to the user, and every later call fails quietly
// with the same fault until reopen() succeeds. A lock another program holds
// when the file is opened is waited for up to the busy timeout.
class TRunJournal {
public:
    static constexpr int kDefaultBusyTimeoutMs = 2000;
    // A reading's commit writes three pages to the log: 4 KB at this size.
    static constexpr int kPageSize = 1024;

    explicit TRunJournal(int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~TRunJournal();
    TRunJournal(const TRunJournal &) = delete;
    TRunJournal &operator=(const TRunJournal &) = delete;

    // Opens the journal at `path`, creating or upgrading it, and marks the
    // session as running until markCleanShutdown. Runs without a reading are
    // dropped. A damaged file is renamed
    // aside with its -wal and -shm, never deleted, and a new one started: the
    // outcome is then ok, with fault Corrupt and the new name, to be told.
    TJournalOutcome open(const QString &path);
    // Opens the file of the last open() again after a failure, without
    // checking it and without starting a new session; the session begun by
    // open() goes on.
    TJournalOutcome reopen();
    // Opens, only to read it, a journal left in a folder this program can no
    // longer write: in place when its log is empty, otherwise as a copy made
    // in `scratchFolder` (the log's readings are replayed into the copy).
    // Nothing is ever written beside `path`.
    TJournalOutcome openToRead(const QString &path, const QString &scratchFolder);
    bool isOpen() const { return m_db.isOpen(); }
    // Lets the file go (another program may then open it); reopen() takes it again.
    void close();
    const QString &path() const { return m_path; }
    TJournalFault fault() const { return m_fault; }

    // Leaves a mark beside the file that the run the last write was for
    // lacks readings (they wait in memory); the next open() finds it and
    // records the run as incomplete. clearGap() takes it away once they are in.
    void markGap();
    void clearGap();

    // Whether the session before this open ended with markCleanShutdown (a
    // new file counts as clean).
    bool previousSessionClean() const { return m_previousSessionClean; }
    TJournalOutcome markCleanShutdown();

    // A new run over a freshly prepared table, with its first start.
    TJournalOutcome beginRun(const TJournalTable &table, const TJournalStart &start, qint64 *runId);
    // A later start of the same run; the readings that follow belong to it.
    TJournalOutcome recordStart(qint64 runId, const TJournalStart &start);
    // Keeps the reading and makes it the one its cell shows.
    TJournalOutcome recordReading(qint64 runId, const TJournalReading &reading);
    // Keeps the actual temperature of a row. It changes with every hundredth
    // of a degree, so it costs no commit of its own: it waits in memory and
    // goes in with the next write (a reading, the end of the run, a save, the
    // clean end). A text equal to the one last kept for the row is dropped.
    TJournalOutcome recordActualTemperature(qint64 runId, const TJournalActualTemperature &actual);
    // A run that ends without a single reading is not kept.
    TJournalOutcome endRun(qint64 runId, const QDateTime &time);
    // The run's readings up to the one numbered `throughSeq` (every reading
    // recorded so far when it is kAllReadings) are in `fileName`.
    static constexpr qint64 kAllReadings = -1;
    TJournalOutcome markSaved(qint64 runId, qint64 throughSeq, const QString &fileName,
                              const QDateTime &time);
    // The user emptied the cell: it no longer counts, and a replay leaves it
    // empty until a later reading fills it again. The readings stay.
    TJournalOutcome clearCell(qint64 runId, int row, int col);
    // Moves everything from the write-ahead log into the file itself, so that
    // the file alone holds the journal.
    TJournalOutcome checkpoint();
    TJournalOutcome deleteRun(qint64 runId);
    // Several runs in one go.
    TJournalOutcome deleteRuns(const QVector<qint64> &runIds);
    // Writes the file anew without the room deleted runs left, and folds the
    // log into it. Needs free space about the file's size.
    TJournalOutcome compact();
    // The file and its log, in bytes.
    qint64 bytesOnDisk() const;
    // The sample the run measured, set or changed at any time; nothing
    // removes it. Kept as given, checked or not.
    TJournalOutcome setSample(qint64 runId, const std::optional<TSample> &sample);
    // Keeps an instrument's outage during the run: once when it begins (End
    // invalid), again when it ends; the instrument and start name it.
    TJournalOutcome recordOutage(qint64 runId, const TLinkOutage &outage);

    // Newest first.
    TJournalOutcome runs(QVector<TJournalRunSummary> *summaries);
    // The newest run when the previous session did not end cleanly and that
    // run holds readings never saved to a file; otherwise nothing.
    TJournalOutcome runToRecover(std::optional<TJournalRunSummary> *run);
    // Nothing when there is no such run.
    TJournalOutcome loadRun(qint64 runId, std::optional<TJournalRun> *run);
    // The sample of the newest run that has one, to propose for the next run.
    TJournalOutcome latestSample(std::optional<TSample> *sample);
    // The last start of the newest run: the frequencies and skip count to
    // offer again. Nothing when the journal holds no run.
    TJournalOutcome latestStart(std::optional<TJournalStart> *start);
    // The run's outages by start (the list of past runs shows them).
    TJournalOutcome outages(qint64 runId, QVector<TLinkOutage> *outages);

private:
    using Body = std::function<bool(QSqlError *error)>;

    // A new session checks the file and takes the marks the one before left.
    TJournalOutcome openFile(bool newSession);
    TJournalOutcome recordGaps();
    QStringList gapMarks() const;
    TJournalOutcome dropEmptyRuns();
    TJournalOutcome checkFile() const;
    TJournalOutcome configure();
    TJournalOutcome startSession();
    bool moveAside(QString *movedTo) const;
    // Runs `body` in one transaction (a write, or a read snapshot); a failure
    // stops the journal.
    TJournalOutcome transact(bool write, const Body &body);
    TJournalOutcome fail(const TJournalOutcome &outcome);
    // What every call returns while the journal is closed.
    TJournalOutcome stopped() const;

    bool insertStart(qint64 runId, const TJournalStart &start, QSqlError *error);
    bool querySummaries(qint64 runId, int limit, QVector<TJournalRunSummary> *out,
                        QSqlError *error);
    bool loadTable(qint64 runId, TJournalTable *table, QSqlError *error);
    bool loadSegments(qint64 runId, QVector<TJournalSegment> *segments, QSqlError *error);
    bool loadClearings(qint64 runId, QVector<TJournalClearing> *out, QSqlError *error);
    bool loadActualTemperatures(qint64 runId, QVector<TJournalActualTemperature> *out,
                                QSqlError *error);
    bool loadOutages(qint64 runId, QVector<TLinkOutage> *out, QSqlError *error);

    const QString m_connectionName;
    const int m_busyTimeoutMs;
    QString m_path;
    bool m_sessionStarted = false;
    // The run the latest write was for (0: a run not yet begun).
    qint64 m_writingRun = 0;
    QSqlDatabase m_db;
    bool m_previousSessionClean = true;
    // The newest run when open() found the file, before runs without a reading went.
    qint64 m_newestRunAtOpen = 0;
    TJournalFault m_fault = TJournalFault::NotOpen;
    bool writeWaitingActuals(QSqlError *error);

    // The actual-temperature texts kept for one run in this session, by row,
    // and those of them not yet written.
    qint64 m_actualRun = 0;
    QHash<int, QString> m_actualTexts;
    QMap<int, TJournalActualTemperature> m_waitingActuals;
};
