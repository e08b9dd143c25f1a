// Wiring of what looks after a run: the instruments' silences and outages,
// the full table that stops and saves itself, the desktop notices, and the
// newest run's setup brought back at start.
#include "app/main_window.h"
#include "control/chart_controller.h"
#include "control/full_table_stop.h"
#include "control/journal_controller.h"
#include "control/last_setup.h"
#include "control/link_watch.h"
#include "control/meter_link.h"
#include "control/reading_capture.h"
#include "control/run_sequencer.h"
#include "control/save_command.h"
#include "control/settings_binding.h"
#include "control/table_preparation.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "ui/desktop_notifier.h"
#include "ui/results_grid_view.h"
#include "ui/run_notice_texts.h"
#include "ui/run_status_view.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

void TfrmMain::createRunCareControllers() {
    const RunClock &clock = m_options.runClock ? *m_options.runClock : m_steadyClock;

    // The status bar's view exists already (the chart's wiring made it).
    m_linkWatch = new TLinkWatch(clock, statusBar()->findChild<RunStatusView *>(),
                                 m_state.DecimalSeparator, this);
    TLinkWatch *watch = m_linkWatch;
    connect(m_meterLink, &TMeterLink::frameAccepted, watch, &TLinkWatch::meterData);
    connect(m_thermoLink, &TThermoLink::validLineReceived, watch, &TLinkWatch::thermometerData);
    // The watch follows the run after the journal has taken it, so that an
    // outage at the start belongs to the run the journal has begun.
    connect(m_journal, &TJournalController::runBegun, watch, &TLinkWatch::runStarted);
    connect(m_journal, &TJournalController::runEnded, watch, &TLinkWatch::runStopped);
    connect(m_tablePreparation, &TTablePreparation::tablePrepared, watch,
            &TLinkWatch::tablePrepared);
    connect(m_journal, &TJournalController::runLoaded, watch, &TLinkWatch::loadRun);
    connect(watch, &TLinkWatch::outageChanged, m_journal, &TJournalController::onOutage);

    TFullTableStop::Actions actions;
    actions.stopRun = [stop = m_actions.actStop] { stop->trigger(); };
    actions.saveTo = [save = m_saveCommand](const QString &fileName) {
        return save->saveRunTo(fileName);
    };
    actions.sampleName = [journal = m_journal] {
        const std::optional<TSample> sample = journal->sample();
        return sample ? sample->Name : QString();
    };
    const QString choices =
        QFileInfo(m_settingsBinding->settingsPath()).dir().filePath(QStringLiteral("run.ini"));
    m_fullTableStop =
        new TFullTableStop(*m_engine, m_chartController->readings(), m_ui.grdTable, clock,
                           m_ui.chbStopWhenFull, std::move(actions), choices, *m_prompts, this);
    TFullTableStop *full = m_fullTableStop;
    // The chart controller counts the reading first (it was connected first).
    connect(m_readingCapture, &TReadingCapture::readingRecorded, full,
            &TFullTableStop::readingsChanged);
    connect(m_tablePreparation, &TTablePreparation::tablePrepared, full,
            &TFullTableStop::tableTakenUp);
    connect(m_runSequencer, &TRunSequencer::runStarted, full, &TFullTableStop::tableTakenUp);
    connect(m_chartController, &TChartController::runLoaded, full, &TFullTableStop::tableTakenUp);
    connect(m_actions.actAutosaveFolder, &QAction::triggered, full, &TFullTableStop::chooseFolder);

    auto *notifier = new DesktopNotifier(this);
    setRunNoticeSink([notifier](const TRunNotice &notice) {
        notifier->notify(runnotice::title(notice), runnotice::text(notice));
    });

    m_lastSetup = new TLastSetup(*m_engine, *m_tablePreparation, *m_journal, m_ui.runParameters(),
                                 m_ui.grdTable, m_actions.actApplySettiingsTempAndGrid,
                                 m_state.DecimalSeparator, this);
    connect(m_journal, &TJournalController::ready, m_lastSetup, &TLastSetup::journalReady);
}

void TfrmMain::setRunNoticeSink(const TRunNoticeSink &sink) {
    m_linkWatch->setNoticeSink(sink);
    m_fullTableStop->setNoticeSink(sink);
}
