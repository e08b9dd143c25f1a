#include "control/journal_controller.h"

#include "base/number_format.h"
#include "control/journal_thread.h"
#include "control/save_command.h"
#include "control/table_preparation.h"
#include "journal/journal_replay.h"
#include "journal/run_journal.h"
#include "model/app_state.h"
#include "ui/message_box.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>

namespace {

QString dateTimeText(const QDateTime &time) {
    return QLocale().toString(time, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

TJournalTable tableOf(const TAppState &state, const ResultsGridView *grid) {
    TJournalTable table;
    for (int row = 1; row < grid->rowCount(); ++row) {
        const QTableWidgetItem *item = grid->item(row, 0);
        table.SetPointTexts << (item ? item->text() : QString());
    }
    table.TempStorage = state.TempStorage;
    table.DecimalSeparator = state.DecimalSeparator;
    return table;
}

TJournalStart startOf(const TAppState &state) {
    TJournalStart start;
    start.Time = QDateTime::currentDateTime();
    for (const TFreqItem &item : state.FreqStorage.Items)
        start.Frequencies << item.Freq;
    start.SkipPacketCount = state.SkipPacketCount;
    return start;
}

} // namespace

TJournalController::TJournalController(TAppState &state, const Views &views,
                                       TTablePreparation &table, TSaveCommand &save,
                                       QObject *parent)
    : QObject(parent), m_state(state), m_views(views), m_table(table), m_save(save),
      m_journal(new TJournalThread(this)) {
    m_ask = [grid = views.grdTable](const QString &text) {
        return ShowMessage(grid ? grid->window() : nullptr, QMessageBox::Question, text,
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    connect(m_journal, &TJournalThread::failed, this, &TJournalController::journalFailed);
}

void TJournalController::journalFailed(const QString &message) {
    m_kept = false;
    emit failure(message);
}

TJournalController::~TJournalController() = default;

void TJournalController::open(const QString &path) {
    const TJournalOutcome outcome =
        m_journal->call([path](TRunJournal &journal) { return journal.open(path); });
    m_kept = outcome.ok;
    if (!outcome.message.isEmpty())
        emit failure(outcome.message);
}

void TJournalController::offerRecovery() {
    if (!m_kept)
        return;
    std::optional<TJournalRunSummary> run;
    reportIfFailed(
        m_journal->call([&run](TRunJournal &journal) { return journal.runToRecover(&run); }));
    if (!run)
        return;
    const QString question =
        QStringLiteral("Программа была закрыта не как обычно, и измерения, начатые %1, не "
                       "сохранены в файл (заполнено ячеек: %2). Восстановить их?")
            .arg(dateTimeText(run->StartedAt))
            .arg(run->CellCount);
    if (m_ask(question))
        openRun(run->Id);
}

void TJournalController::close() {
    if (m_kept)
        reportIfFailed(
            m_journal->call([](TRunJournal &journal) { return journal.markCleanShutdown(); }));
}

QVector<TJournalRunSummary> TJournalController::pastRuns() {
    QVector<TJournalRunSummary> runs;
    if (m_kept)
        reportIfFailed(
            m_journal->call([&runs](TRunJournal &journal) { return journal.runs(&runs); }));
    return runs;
}

std::optional<TJournalRun> TJournalController::load(qint64 runId) {
    std::optional<TJournalRun> run;
    if (m_kept)
        reportIfFailed(m_journal->call(
            [runId, &run](TRunJournal &journal) { return journal.loadRun(runId, &run); }));
    return run;
}

bool TJournalController::openRun(qint64 runId) {
    const std::optional<TJournalRun> run = load(runId);
    if (!run)
        return false;
    putBack(*run);
    m_runId = runId;
    m_unsaved = run->Summary.UnsavedReadings;
    emit runLoaded(*run);
    return true;
}

// The grid, the storages and the CSV table as they were when the run's last
// reading was recorded; the run parameters show the table's own. The table
// holds run data (a new preparation asks first) and can be saved at once.
void TJournalController::putBack(const TJournalRun &run) {
    const TJournalReplay replay = replayRun(run);
    ResultsGridView *grid = m_views.grdTable;
    grid->clearContents();
    grid->setRowCount(replay.RowCount);
    grid->setColumnCount(replay.ColCount);
    for (const TJournalGridCell &cell : replay.Cells)
        setCellText(grid, cell.Row, cell.Col, cell.Text);

    m_state.TempStorage = replay.TempStorage;
    m_state.FreqStorage = replay.FreqStorage;
    m_state.CSVTable = replay.CSVTable;

    const QChar sep = m_state.DecimalSeparator;
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

void TJournalController::saveRun(qint64 runId) {
    const std::optional<TJournalRun> run = load(runId);
    if (!run)
        return;
    const QString fileName = m_save.saveTable(replayRun(*run).CSVTable);
    if (fileName.isEmpty())
        return;
    if (runId == m_runId)
        m_unsaved = false;
    const QDateTime now = QDateTime::currentDateTime();
    m_journal->post([runId, fileName, now](TRunJournal &journal) {
        return journal.markSaved(runId, fileName, now);
    });
}

bool TJournalController::deleteRun(qint64 runId) {
    if (!m_kept || runId == m_runId)
        return false;
    const TJournalOutcome outcome =
        m_journal->call([runId](TRunJournal &journal) { return journal.deleteRun(runId); });
    reportIfFailed(outcome);
    return outcome.ok;
}

void TJournalController::onTablePrepared() {
    m_runId = 0;
    m_unsaved = false;
}

// The first start over a prepared table begins a run; a start after a stop
// continues it, since the grid and the CSV table keep their readings.
void TJournalController::onRunStarted() {
    if (!m_kept)
        return;
    const TJournalStart start = startOf(m_state);
    if (m_runId == 0) {
        const TJournalTable table = tableOf(m_state, m_views.grdTable);
        qint64 id = 0;
        reportIfFailed(m_journal->call([&table, &start, &id](TRunJournal &journal) {
            return journal.beginRun(table, start, &id);
        }));
        m_runId = id;
        return;
    }
    const qint64 runId = m_runId;
    m_journal->post(
        [runId, start](TRunJournal &journal) { return journal.recordStart(runId, start); });
}

void TJournalController::onRunStopped() {
    if (m_runId == 0)
        return;
    const qint64 runId = m_runId;
    const QDateTime now = QDateTime::currentDateTime();
    m_journal->post([runId, now](TRunJournal &journal) { return journal.endRun(runId, now); });
}

void TJournalController::onReadingRecorded(const TJournalReading &reading) {
    m_unsaved = true;
    if (m_runId == 0)
        return;
    const qint64 runId = m_runId;
    m_journal->post(
        [runId, reading](TRunJournal &journal) { return journal.recordReading(runId, reading); });
}

void TJournalController::onActualTemperatureRecorded(const TJournalActualTemperature &actual) {
    if (m_runId == 0)
        return;
    const qint64 runId = m_runId;
    m_journal->post([runId, actual](TRunJournal &journal) {
        return journal.recordActualTemperature(runId, actual);
    });
}

void TJournalController::onSaved(const QString &fileName) {
    m_unsaved = false;
    if (m_runId == 0)
        return;
    const qint64 runId = m_runId;
    const QDateTime now = QDateTime::currentDateTime();
    m_journal->post([runId, fileName, now](TRunJournal &journal) {
        return journal.markSaved(runId, fileName, now);
    });
}

void TJournalController::reportIfFailed(const TJournalOutcome &outcome) {
    if (!outcome.ok) {
        m_kept = false;
        if (!outcome.message.isEmpty())
            emit failure(outcome.message);
    }
}
