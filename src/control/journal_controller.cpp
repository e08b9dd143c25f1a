#include "control/journal_controller.h"

#include "base/number_format.h"
#include "control/journal_thread.h"
#include "control/save_command.h"
#include "control/table_preparation.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "journal/journal_replay.h"
#include "journal/run_journal.h"
#include "ui/journal_texts.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

TJournalTable tableOf(const RunEngine &engine, const ResultsGridView *grid) {
    TJournalTable table;
    for (int row = 1; row < grid->rowCount(); ++row) {
        const QTableWidgetItem *item = grid->item(row, 0);
        table.SetPointTexts << (item ? item->text() : QString());
    }
    table.TempStorage = engine.temperatures();
    table.DecimalSeparator = engine.store().decimalSeparator();
    return table;
}

TJournalStart startOf(const RunEngine &engine) {
    TJournalStart start;
    start.Time = QDateTime::currentDateTime();
    for (const TFreqItem &item : engine.frequencies().Items)
        start.Frequencies << item.Freq;
    start.SkipPacketCount = engine.skipCount();
    return start;
}

} // namespace

TJournalController::TJournalController(RunEngine &engine, const Views &views,
                                       TTablePreparation &table, TSaveCommand &save,
                                       UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_engine(engine), m_views(views), m_table(table), m_save(save),
      m_journal(new TJournalThread(this)), m_prompts(prompts) {
    connect(m_journal, &TJournalThread::failed, this, &TJournalController::failure);
    m_save.setHeaderSource([this]() -> std::optional<TIMPacket> {
        if (m_headerFrame.isEmpty())
            return std::nullopt;
        return packetOfFrame(m_headerFrame, m_engine.store().decimalSeparator());
    });
    connect(m_journal, &TJournalThread::resumed, this,
            [this] { emit failure(journaltext::resumed()); });
}

TJournalController::~TJournalController() = default;

void TJournalController::setRetryDelay(std::function<int(int attempt)> delay) {
    m_journal->setRetryDelay(std::move(delay));
}

void TJournalController::retryNow() {
    reportIfFailed(journalThread().retryNow());
}

// The opening and its checks read the whole file: they wait until the window's events run,
// which is after the window is up, unless something needs the journal before.
void TJournalController::open(const QString &path) {
    m_path = path;
    m_openPending = true;
    QMetaObject::invokeMethod(this, &TJournalController::openNow, Qt::QueuedConnection);
}

TJournalThread &TJournalController::journalThread() {
    openNow();
    return *m_journal;
}

void TJournalController::openNow() {
    if (!m_openPending)
        return;
    m_openPending = false;
    m_journal->request([path = m_path](TRunJournal &journal) { return journal.open(path); },
                       [this](const TJournalOutcome &outcome) {
                           m_opened = outcome.ok;
                           if (outcome.tell)
                               emit failure(journaltext::outcome(outcome));
                           proposeSample();
                           offerRecovery();
                           emit ready();
                       });
}

// The newest run's sample is the likeliest for the next run.
void TJournalController::proposeSample() {
    if (!m_opened)
        return;
    std::optional<TSample> proposed;
    reportIfFailed(journalThread().read(
        [&proposed](TRunJournal &journal) { return journal.latestSample(&proposed); }));
    if (proposed)
        takeSample(proposed);
}

void TJournalController::setSample(const std::optional<TSample> &sample) {
    takeSample(sample);
    if (!m_run)
        return;
    journalThread().post([run = m_run, sample](TRunJournal &journal) {
        return journal.setSample(run->load(), sample);
    });
}

void TJournalController::takeSample(const std::optional<TSample> &sample) {
    if (sample == m_sample)
        return;
    m_sample = sample;
    emit sampleChanged(m_sample);
}

void TJournalController::offerRecovery() {
    if (!m_formerPath.isEmpty())
        emit failure(journaltext::movedTo(m_formerPath, m_path));
    if (!offerLostRun() && !m_formerPath.isEmpty())
        offerFormerRun();
}

// Read on the journal's thread, since a copy of a large journal takes time.
void TJournalController::offerFormerRun() {
    std::optional<TJournalRun> run;
    journalThread().read([former = m_formerPath, &run](TRunJournal &) {
        QTemporaryDir scratch;
        TRunJournal journal;
        TJournalOutcome outcome = journal.openToRead(former, scratch.path());
        std::optional<TJournalRunSummary> lost;
        if (outcome.ok)
            outcome = journal.runToRecover(&lost);
        if (outcome.ok && lost)
            outcome = journal.loadRun(lost->Id, &run);
        if (!outcome.ok)
            qWarning("run journal: cannot read %s: fault %d %s", qPrintable(former),
                     int(outcome.fault), qPrintable(outcome.detail));
        return TJournalOutcome{};
    });
    if (!run)
        return;
    if (!askYesNo(m_prompts, journaltext::openLeftRunQuestion(m_formerPath, run->Summary)))
        return;
    putBack(*run);
    // Not a run of this journal: a start over it begins a new one here.
    m_run.reset();
    m_live = false;
    m_readingsPosted = 0;
    m_runHadReadings = false;
    m_unsaved = true;
    emit runLoaded(*run);
    takeSample(run->Summary.Sample);
}

bool TJournalController::offerLostRun() {
    if (!m_opened)
        return false;
    std::optional<TJournalRunSummary> run;
    reportIfFailed(
        journalThread().read([&run](TRunJournal &journal) { return journal.runToRecover(&run); }));
    if (!run)
        return false;
    if (askYesNo(m_prompts, journaltext::restoreQuestion(*run)) && openRun(run->Id))
        m_live = true;
    return m_live;
}

// The window is going: nothing is said any more.
void TJournalController::close() {
    disconnect(m_journal, nullptr, this, nullptr);
    journalThread().retryNow();
    journalThread().call([](TRunJournal &journal) {
        const TJournalOutcome outcome = journal.markCleanShutdown();
        return outcome.ok ? journal.checkpoint() : outcome;
    });
}

QVector<TJournalRunSummary> TJournalController::pastRuns() {
    QVector<TJournalRunSummary> runs;
    reportIfFailed(
        journalThread().read([&runs](TRunJournal &journal) { return journal.runs(&runs); }));
    return runs;
}

std::optional<TJournalRun> TJournalController::load(qint64 runId) {
    std::optional<TJournalRun> run;
    reportIfFailed(journalThread().read(
        [runId, &run](TRunJournal &journal) { return journal.loadRun(runId, &run); }));
    return run;
}

bool TJournalController::openRun(qint64 runId) {
    const std::optional<TJournalRun> run = load(runId);
    if (!run)
        return false;
    putBack(*run);
    m_run = std::make_shared<std::atomic<qint64>>(runId);
    m_live = false;
    m_readingsPosted = 0;
    m_runHadReadings = run->Summary.LastSeq != 0;
    m_unsaved = run->Summary.UnsavedReadings;
    emit runLoaded(*run);
    takeSample(run->Summary.Sample);
    return true;
}

// The grid, the storages and the CSV table as they were when the run's last
// reading was recorded; the run parameters show the table's own. The table
// holds run data (a new preparation asks first) and can be saved at once.
void TJournalController::putBack(const TJournalRun &run) {
    const TJournalReplay replay = replayRun(run);
    m_headerFrame.clear();
    for (const TJournalSegment &segment : run.Segments)
        if (!segment.Readings.isEmpty())
            m_headerFrame = segment.Readings.last().Frame;
    ResultsGridView *grid = m_views.grdTable;
    grid->clearContents();
    grid->setRowCount(replay.RowCount);
    grid->setColumnCount(replay.ColCount);
    for (const TJournalGridCell &cell : replay.Cells)
        setCellText(grid, cell.Row, cell.Col, cell.Text);

    m_engine.restore(replay.TempStorage, replay.FreqStorage, replay.CSVTable);

    const QChar sep = m_engine.store().decimalSeparator();
    const RunParameterWidgets &edits = m_views.runParameters;
    edits.leTempInit->setText(numfmt::general(replay.TempStorage.TempInit, sep));
    edits.leTempFinal->setText(numfmt::general(replay.TempStorage.TempFinal, sep));
    edits.leTempStep->setText(numfmt::general(replay.TempStorage.TempStep, sep));
    edits.leTempDiff->setText(numfmt::general(replay.TempStorage.TempDiff, sep));
    edits.leFreqColCount->setText(
        numfmt::general(replay.ColCount - ResultsGridView::FrozenColumnCount, sep));

    m_table.setTableTag(1);
    m_views.actFileSaveTo->setEnabled(true);
}

// The file holds the readings the journal gave at the click; readings taken
// while the file dialog was open are in no file.
void TJournalController::saveRun(qint64 runId) {
    const qint64 postedBefore = m_readingsPosted;
    const std::optional<TJournalRun> run = load(runId);
    if (!run)
        return;
    const QString fileName = m_save.saveTable(replayRun(*run).CSVTable);
    if (fileName.isEmpty())
        return;
    const bool current = runId == currentRunId();
    if (current && m_readingsPosted == postedBefore)
        m_unsaved = false;
    markSaved(current ? m_run : std::make_shared<std::atomic<qint64>>(runId), run->Summary.LastSeq,
              fileName);
}

bool TJournalController::deleteRun(qint64 runId) {
    return runId != currentRunId() && deleteRuns({runId});
}

bool TJournalController::deleteRuns(const QVector<qint64> &runIds) {
    QVector<qint64> ids = runIds;
    ids.removeAll(currentRunId());
    const TJournalOutcome outcome =
        journalThread().call([ids](TRunJournal &journal) { return journal.deleteRuns(ids); });
    reportIfFailed(outcome);
    return outcome.ok;
}

QVector<TLinkOutage> TJournalController::outages(qint64 runId) {
    QVector<TLinkOutage> outages;
    reportIfFailed(journalThread().read(
        [runId, &outages](TRunJournal &journal) { return journal.outages(runId, &outages); }));
    return outages;
}

std::optional<TJournalStart> TJournalController::latestStart() {
    std::optional<TJournalStart> start;
    if (m_opened)
        reportIfFailed(journalThread().read(
            [&start](TRunJournal &journal) { return journal.latestStart(&start); }));
    return start;
}

bool TJournalController::compact() {
    const TJournalOutcome outcome =
        journalThread().call([](TRunJournal &journal) { return journal.compact(); });
    reportIfFailed(outcome);
    return outcome.ok;
}

qint64 TJournalController::journalBytes() {
    qint64 bytes = 0;
    journalThread().read([&bytes](TRunJournal &journal) {
        bytes = journal.bytesOnDisk();
        return TJournalOutcome{};
    });
    return bytes;
}

void TJournalController::onTablePrepared() {
    m_run.reset();
    m_headerFrame.clear();
    m_live = false;
    m_readingsPosted = 0;
    m_runHadReadings = false;
    m_unsaved = false;
}

// The first start over a prepared table begins a run; a start after a stop
// continues it, since the grid and the CSV table keep their readings.
void TJournalController::onRunStarted() {
    const TJournalStart start = startOf(m_engine);
    m_live = true;
    if (!m_run) {
        const TJournalTable table = tableOf(m_engine, m_views.grdTable);
        m_run = std::make_shared<std::atomic<qint64>>(0);
        reportIfFailed(journalThread().call([run = m_run, table, start](TRunJournal &journal) {
            qint64 id = 0;
            const TJournalOutcome outcome = journal.beginRun(table, start, &id);
            if (outcome.ok)
                run->store(id);
            return outcome;
        }));
        // A write of its own, so that a retry never begins the run twice.
        if (m_sample)
            journalThread().post([run = m_run, sample = m_sample](TRunJournal &journal) {
                return journal.setSample(run->load(), sample);
            });
    } else {
        journalThread().post([run = m_run, start](TRunJournal &journal) {
            return journal.recordStart(run->load(), start);
        });
    }
    emit runBegun();
}

// A run stopped before its first reading is not kept; the next start begins another.
void TJournalController::onRunStopped() {
    if (m_run) {
        const QDateTime now = QDateTime::currentDateTime();
        journalThread().post([run = m_run, now](TRunJournal &journal) {
            const TJournalOutcome outcome = journal.endRun(run->load(), now);
            return outcome.ok ? journal.checkpoint() : outcome;
        });
        if (m_readingsPosted == 0 && !m_runHadReadings)
            m_run.reset();
    }
    emit runEnded();
}

void TJournalController::onReadingRecorded(const TJournalReading &reading) {
    m_unsaved = true;
    m_headerFrame = reading.Frame;
    if (!m_run)
        return;
    ++m_readingsPosted;
    journalThread().post([run = m_run, reading](TRunJournal &journal) {
        return journal.recordReading(run->load(), reading);
    });
}

// The thermometer keeps writing into the grid whatever it shows; a table not
// being measured keeps the temperatures it was measured at.
void TJournalController::onActualTemperatureRecorded(const TJournalActualTemperature &actual) {
    if (!m_run || !m_engine.isRunning())
        return;
    journalThread().post([run = m_run, actual](TRunJournal &journal) {
        return journal.recordActualTemperature(run->load(), actual);
    });
}

void TJournalController::onSaved(const QString &fileName) {
    m_unsaved = false;
    if (m_run)
        markSaved(m_run, TRunJournal::kAllReadings, fileName);
}

void TJournalController::onResultCellCleared(int row, int column) {
    if (!m_run || !m_live)
        return;
    journalThread().post([run = m_run, row, column](TRunJournal &journal) {
        return journal.clearCell(run->load(), row, column);
    });
}

void TJournalController::onOutage(const TLinkOutage &outage) {
    if (!m_run || !m_live)
        return;
    journalThread().post([run = m_run, outage](TRunJournal &journal) {
        return journal.recordOutage(run->load(), outage);
    });
}

// After a save the file alone, without its log, holds the journal.
void TJournalController::markSaved(const RunRef &run, qint64 throughSeq, const QString &fileName) {
    const QDateTime now = QDateTime::currentDateTime();
    journalThread().post([run, throughSeq, fileName, now](TRunJournal &journal) {
        const TJournalOutcome outcome = journal.markSaved(run->load(), throughSeq, fileName, now);
        return outcome.ok ? journal.checkpoint() : outcome;
    });
}

void TJournalController::reportIfFailed(const TJournalOutcome &outcome) {
    if (!outcome.ok && outcome.tell)
        emit failure(journaltext::outcome(outcome));
}
