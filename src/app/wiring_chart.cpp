// Wiring of the live chart, the run's progress in the status bar and the
// export of every reading.
#include "app/main_window.h"
#include "control/chart_controller.h"
#include "control/journal_controller.h"
#include "control/link_watch.h"
#include "control/meter_link.h"
#include "control/past_runs_command.h"
#include "control/reading_capture.h"
#include "control/readings_export_command.h"
#include "control/relaxation_controller.h"
#include "control/run_progress.h"
#include "control/settings_binding.h"
#include "control/table_preparation.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "ui/results_grid_view.h"
#include "ui/run_status_view.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>

void TfrmMain::createChartControllers() {
    m_chartController = new TChartController(m_state.DecimalSeparator, this, *m_prompts, this);
    m_chartController->setChoicesFile(
        QFileInfo(m_settingsBinding->settingsPath()).dir().filePath(QStringLiteral("chart.ini")));
    m_readingsExport = new TReadingsExportCommand(m_chartController->readings(), *m_prompts, this);
    // The sample, the table as prepared and the latest start's frequencies and skip count.
    m_readingsExport->setRunDescriber([this] {
        // The journal knows every start of the run with its time; the screen only the latest.
        if (const qint64 id = m_journal->currentRunId())
            if (const std::optional<TJournalRun> journalled = m_journal->load(id)) {
                TRunDescription run = describeRun(*journalled);
                run.Sample = m_journal->sample();
                if (!run.Starts.isEmpty())
                    return run;
            }
        TRunDescription run;
        run.Sample = m_journal->sample();
        run.TempInit = m_engine->temperatures().TempInit;
        run.TempFinal = m_engine->temperatures().TempFinal;
        run.TempStep = m_engine->temperatures().TempStep;
        run.Tolerance = m_engine->temperatures().TempDiff;
        TRunDescription::Start start;
        for (const TFreqItem &item : m_engine->frequencies().Items)
            start.Frequencies << item.Freq;
        start.SkipCount = m_engine->skipCount();
        run.Starts << start;
        run.Outages = m_linkWatch->outages();
        return run;
    });

    auto *status = new RunStatusView(statusBar());
    statusBar()->setObjectName(QStringLiteral("sbrRun"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(status, 1);
    m_runProgress =
        new TRunProgress(*m_engine, m_chartController->readings(), m_ui.grdTable, status, this);

    connect(m_actions.actShowChart, &QAction::triggered, m_chartController,
            &TChartController::actShowChartExecute);
    connect(m_actions.actFileSaveReadings, &QAction::triggered, m_readingsExport,
            &TReadingsExportCommand::actFileSaveReadingsExecute);

    connect(m_readingCapture, &TReadingCapture::readingRecorded, m_chartController,
            &TChartController::addReading);

    // The analysis of the chart's run follows its readings and its sample.
    m_relaxation = new TRelaxationController(m_chartController->readings(),
                                             m_state.DecimalSeparator, this, this);
    m_relaxation->setSampleSource([chart = m_chartController] { return chart->sample(); });
    connect(m_chartController, &TChartController::analysisRequested, m_relaxation,
            &TRelaxationController::show);
    connect(m_readingCapture, &TReadingCapture::readingRecorded, m_relaxation,
            &TRelaxationController::readingsChanged);
    connect(m_chartController, &TChartController::cleared, m_relaxation,
            &TRelaxationController::readingsChanged);
    connect(m_chartController, &TChartController::runLoaded, m_relaxation,
            &TRelaxationController::readingsChanged);
    // A run restored or opened from the journal is the chart's run, and the
    // list of past runs exports any of them.
    connect(m_journal, &TJournalController::runLoaded, m_chartController,
            &TChartController::loadRun);
    connect(m_pastRuns, &TPastRunsCommand::readingsExportRequested, m_readingsExport,
            &TReadingsExportCommand::saveRun);
    connect(m_ui.grdTable, &QTableWidget::currentCellChanged, m_chartController,
            [chart = m_chartController](int row, int column) { chart->selectCell(row, column); });

    // The chart controller keeps the run's readings; the progress follows
    // whatever it is given (a new table, a run from the journal).
    TChartController *chart = m_chartController;
    TRunProgress *progress = m_runProgress;
    connect(chart, &TChartController::cleared, progress, [progress] {
        progress->clear();
        progress->refresh(QDateTime::currentDateTime());
    });
    connect(chart, &TChartController::runLoaded, progress, [progress](const TJournalRun &run) {
        progress->loadRun(run);
        progress->refresh(QDateTime::currentDateTime());
    });
    // A preparation the user confirmed, or a new run on the same table,
    // leaves the table without run data; a preparation declined keeps the
    // run and its readings.
    connect(m_tablePreparation, &TTablePreparation::tablePrepared, chart, &TChartController::clear);
    // The sequencer has run by now (it was connected first): a start it
    // refused leaves the engine as it was.
    connect(m_actions.actStart, &QAction::triggered, progress, [this, progress] {
        if (m_engine->isRunning())
            progress->runStarted(QDateTime::currentDateTime());
    });
    connect(m_actions.actStop, &QAction::triggered, progress,
            [progress] { progress->runStopped(QDateTime::currentDateTime()); });

    connect(m_thermoLink, &TThermoLink::temperatureShown, progress, &TRunProgress::takeTemperature);
    // Each display refresh of either instrument.
    connect(m_engine, &RunEngine::meterRefreshed, progress,
            [progress] { progress->refresh(QDateTime::currentDateTime()); });
    connect(m_engine, &RunEngine::thermometerShown, progress,
            [progress] { progress->refresh(QDateTime::currentDateTime()); });
    progress->refresh(QDateTime::currentDateTime());
}
