// Wiring of the sample: its command, and where it shows.
#include "app/main_window.h"
#include "control/chart_controller.h"
#include "control/journal_controller.h"
#include "control/relaxation_controller.h"
#include "control/sample_command.h"
#include "ui/run_status_view.h"
#include "ui/sample_text.h"

#include <QAction>
#include <QStatusBar>

void TfrmMain::createSampleControllers() {
    m_sampleCommand = new TSampleCommand(*m_journal, m_state.DecimalSeparator, this, this);
    connect(m_actions.actSample, &QAction::triggered, m_sampleCommand,
            &TSampleCommand::actSampleExecute);

    connect(m_journal, &TJournalController::sampleChanged, m_chartController,
            &TChartController::setSample);
    // The analysis takes the sample from the chart, so it follows after it.
    connect(m_journal, &TJournalController::sampleChanged, m_relaxation,
            &TRelaxationController::readingsChanged);

    RunStatusView *status = statusBar()->findChild<RunStatusView *>();
    const QChar separator = m_state.DecimalSeparator;
    connect(m_journal, &TJournalController::sampleChanged, status,
            [status, separator](const std::optional<TSample> &sample) {
                status->setSample(sample ? sampletext::summary(*sample, separator) : QString());
            });
}
