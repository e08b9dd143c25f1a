// Wiring of the measurement run: start and stop, the engine's readings into the grid.
#include "app/main_window.h"
#include "control/autoconnect.h"
#include "control/grid_follow.h"
#include "control/meter_link.h"
#include "control/reading_capture.h"
#include "control/run_sequencer.h"
#include "control/table_preparation.h"
#include "control/thermo_link.h"
#include "ui/results_grid_view.h"

#include <QAction>

void TfrmMain::createRunControllers() {
    // The links, the autoconnection and the table preparation exist already
    // (their wiring runs first); like these controllers they are children of
    // the window and live as long as it does.
    TMeterLink *meter = m_meterLink;
    TAutoconnect *autoconnect = m_autoconnect;
    TTablePreparation *table = m_tablePreparation;

    m_readingCapture = new TReadingCapture(*m_engine, m_ui.grdTable, this);

    TRunSequencer::Links links;
    links.setKeypadEnabled = [meter](bool enabled) { meter->SetKeypadEnabled(enabled); };
    links.setTableTag = [table](int tag) { table->setTableTag(tag); };
    links.setLinkOpen = [autoconnect](bool value, int kind) {
        autoconnect->SetLinkOpen(value, kind);
    };
    links.emptyReadings = [table] { table->emptyReadings(); };
    m_runSequencer = new TRunSequencer(m_state, *m_engine, m_actions.runCommands(), m_ui.grdTable,
                                       m_ui.lblSkipIM, std::move(links), *m_prompts, this);

    connect(table, &TTablePreparation::tablePrepared, m_runSequencer,
            &TRunSequencer::tablePrepared);
    connect(m_actions.actStart, &QAction::triggered, m_runSequencer,
            &TRunSequencer::actStartExecute);
    connect(m_actions.actStop, &QAction::triggered, m_runSequencer, &TRunSequencer::actStopExecute);

    auto *follow = new TGridFollow(m_ui.grdTable, {}, this);
    connect(m_readingCapture, &TReadingCapture::readingRecorded, follow,
            &TGridFollow::readingRecorded);
}
