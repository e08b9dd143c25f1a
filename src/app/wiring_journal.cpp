// Wiring of the run journal: what it follows, the recovery at start, past runs.
#include "app/main_window.h"
#include "control/journal_controller.h"
#include "control/past_runs_command.h"
#include "control/reading_capture.h"
#include "control/results_grid_controller.h"
#include "control/run_sequencer.h"
#include "control/save_command.h"
#include "control/settings_binding.h"
#include "control/table_preparation.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

QString TfrmMain::journalPath() const {
    if (!m_options.journalPath.isEmpty())
        return m_options.journalPath;
    return QFileInfo(m_settingsBinding->settingsPath())
        .dir()
        .filePath(QStringLiteral("runs.sqlite"));
}

void TfrmMain::createJournalControllers() {
    TJournalController::Views views;
    views.grdTable = m_ui.grdTable;
    views.runParameters = m_ui.runParameters();
    views.actFileSaveTo = m_actions.actFileSaveTo;
    m_journal = new TJournalController(*m_engine, views, *m_tablePreparation, *m_saveCommand,
                                       *m_prompts, this);
    m_pastRuns = new TPastRunsCommand(*m_engine, *m_journal, this, *m_prompts, this);

    connect(m_journal, &TJournalController::failure, this, &TfrmMain::reportFailure);
    connect(m_tablePreparation, &TTablePreparation::tablePrepared, m_journal,
            &TJournalController::onTablePrepared);
    connect(m_journal, &TJournalController::runLoaded, m_runSequencer,
            &TRunSequencer::pastRunOpened);
    connect(m_runSequencer, &TRunSequencer::runStarted, m_journal,
            &TJournalController::onRunStarted);
    connect(m_runSequencer, &TRunSequencer::runStopped, m_journal,
            &TJournalController::onRunStopped);
    connect(m_readingCapture, &TReadingCapture::readingRecorded, m_journal,
            &TJournalController::onReadingRecorded);
    connect(m_readingCapture, &TReadingCapture::actualTemperatureRecorded, m_journal,
            &TJournalController::onActualTemperatureRecorded);
    connect(m_saveCommand, &TSaveCommand::saved, m_journal, &TJournalController::onSaved);
    connect(m_gridController, &TResultsGridController::resultCellCleared, m_journal,
            &TJournalController::onResultCellCleared);
    connect(m_actions.actPastRuns, &QAction::triggered, m_pastRuns,
            &TPastRunsCommand::actPastRunsExecute);
}
