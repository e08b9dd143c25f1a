#pragma once

#include "control/journal_thread.h"
#include "journal/journal_outcome.h"
#include "journal/journal_records.h"
#include "ui/main_window_ui.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class ResultsGridView;
class TSaveCommand;
class TTablePreparation;
class RunEngine;
class UserPrompts;

// Keeps every reading of a run in the run journal the moment the capture writes
// it, and gives runs back: the run a crash interrupted (asked at start), and
// any past run from the list. The grid and the CSV table are rebuilt from the
// journal, never the other way round. A journal that cannot be kept is said
// once; the run goes on in memory, and its readings go into the journal when
// it works again. A past run opened from the list is never changed.
class TJournalController : public QObject {
    Q_OBJECT
public:
    // What a restore puts back besides the state: the grid, the run parameters,
    // the table preparation (whose Tag marks run data) and the save command.
    struct Views {
        ResultsGridView *grdTable = nullptr;
        RunParameterWidgets runParameters;
        QAction *actFileSaveTo = nullptr;
    };

    // `prompts` asks whether a lost run is to be restored.
    TJournalController(RunEngine &engine, const Views &views, TTablePreparation &table,
                       TSaveCommand &save, UserPrompts &prompts, QObject *parent = nullptr);
    ~TJournalController() override;

    // Opens (or creates) the journal at `path` on the journal's thread once the
    // window's events run (or something needs the journal before), so the
    // window shows first; a journal that cannot be kept, or a damaged one
    // set aside, is reported through failure(). Then offers the run the last
    // session lost, once the window's events run.
    void open(const QString &path);
    // A journal left in a folder the program can no longer write (set before
    // open()): the opening says so and where the journal is kept now, and the
    // run that journal's last session lost is offered to open, read-only.
    void setFormerJournal(const QString &path) { m_formerPath = path; }
    // When the last session died with readings of its newest run not in any
    // file, asks whether to restore that run, and restores it on yes;
    // otherwise offers the former journal's (see setFormerJournal).
    void offerRecovery();
    // The session ends normally: what waits in memory is tried once more,
    // then the clean end is recorded.
    void close();
    // Tries at once to write what waits (tests; a timer does it otherwise).
    void retryNow();
    // Writes waiting in memory for the journal to come back, once everything
    // handed over before has been tried.
    int waitingWrites() { return journalThread().waiting(); }
    // Tests replace the pauses between retries (see TJournalThread::RetryDelay).
    void setRetryDelay(std::function<int(int attempt)> delay);

    // The sample of the run on the screen, or the one proposed for the next
    // run: the newest run's sample when the journal opens, kept across a new
    // table. Setting it changes the current run's sample in the journal too.
    const std::optional<TSample> &sample() const { return m_sample; }
    void setSample(const std::optional<TSample> &sample);

    // Readings of the current table not yet in a file.
    bool hasUnsavedReadings() const { return m_unsaved; }
    qint64 currentRunId() const { return m_run ? m_run->load() : 0; }

    // The runs of the journal, newest first (empty when it is not kept).
    QVector<TJournalRunSummary> pastRuns();
    // Makes a past run the current table (not running). False when it could not be loaded.
    bool openRun(qint64 runId);
    // Writes a past run to a file the user chooses, in the measurement file's format.
    void saveRun(qint64 runId);
    // A run as the journal keeps it; nothing when it cannot be loaded.
    std::optional<TJournalRun> load(qint64 runId);
    // The current run cannot be deleted: its readings are on the screen.
    bool deleteRun(qint64 runId);
    // A run's outages of the instruments, by start.
    QVector<TLinkOutage> outages(qint64 runId);
    // The newest run's last start: the setup a new session offers again.
    std::optional<TJournalStart> latestStart();
    // Deletes these runs, the current one excepted. False when the journal failed.
    bool deleteRuns(const QVector<qint64> &runIds);
    // Writes the journal anew without the room deleted runs left. False when it failed.
    bool compact();
    // The journal's file and log in bytes.
    qint64 journalBytes();

    // Followed from the table preparation, the run, the capture and saving.
    void onTablePrepared();
    void onRunStarted();
    void onRunStopped();
    void onReadingRecorded(const TJournalReading &reading);
    void onActualTemperatureRecorded(const TJournalActualTemperature &actual);
    void onSaved(const QString &fileName);
    void onResultCellCleared(int row, int column);
    // An instrument's outage began or ended during the run.
    void onOutage(const TLinkOutage &outage);

signals:
    // The journal was opened (or could not be) and a lost run was offered back.
    void ready();
    // Why the journal is not kept (or what happened to a damaged one); say it once.
    void failure(const QString &message);
    // A run was restored or opened into the grid.
    void runLoaded(const TJournalRun &run);
    // The sample changed: set by the user, proposed, or a run's own.
    void sampleChanged(const std::optional<TSample> &sample);
    // A start or a stop of the run was handed to the journal: what belongs to the run
    // from then on (an instrument's outage) follows these, not the run's own signals.
    void runBegun();
    void runEnded();

private:
    // The current table's run in the journal, known once its first start is
    // written there (which may wait for the journal to come back).
    using RunRef = std::shared_ptr<std::atomic<qint64>>;

    // The journal's thread, once the opening asked for is on its way.
    TJournalThread &journalThread();
    void openNow();
    // Whether the run the last session lost was put back.
    bool offerLostRun();
    void offerFormerRun();
    void putBack(const TJournalRun &run);
    void reportIfFailed(const TJournalOutcome &outcome);
    void markSaved(const RunRef &run, qint64 throughSeq, const QString &fileName);
    void proposeSample();
    void takeSample(const std::optional<TSample> &sample);

    RunEngine &m_engine;
    Views m_views;
    TTablePreparation &m_table;
    TSaveCommand &m_save;
    TJournalThread *m_journal;
    UserPrompts &m_prompts;
    QString m_path;
    QString m_formerPath;
    bool m_opened = false;
    // open() was called and the journal's thread has not been asked yet.
    bool m_openPending = false;
    RunRef m_run;
    // The run was started or restored in this session, so the journal follows
    // what happens to its table.
    bool m_live = false;
    // The frame of the current table's newest reading, which heads its file.
    QByteArray m_headerFrame;
    // Readings of the current table handed to the journal in this session,
    // and whether it held readings from before (a restored or opened run).
    qint64 m_readingsPosted = 0;
    bool m_runHadReadings = false;
    bool m_unsaved = false;
    std::optional<TSample> m_sample;
};
