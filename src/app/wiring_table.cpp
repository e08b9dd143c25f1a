// Wiring of the table preparation, the results grid painting and editing, saving.
#include "app/main_window.h"

#include "control/results_grid_controller.h"
#include "control/save_command.h"
#include "control/table_preparation.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QLineEdit>
#include <QTableView>

void TfrmMain::createTableControllers() {
    m_tablePreparation = new TTablePreparation(m_state, *m_engine, m_ui.runParameters(),
                                               m_ui.grdTable, m_actions.actStop, *m_prompts, this);
    m_gridController = new TResultsGridController(*m_engine, m_ui.grdTable, this);
    m_saveCommand = new TSaveCommand(*m_engine, m_ui.reLogFile, *m_prompts, this);

    connect(m_actions.actApplySettiingsTempAndGrid, &QAction::triggered, m_tablePreparation,
            &TTablePreparation::actApplySettiingsTempAndGridExecute);
    connect(m_actions.actFileSaveTo, &QAction::triggered, m_saveCommand,
            &TSaveCommand::actFileSaveToExecute);

    // NumericKeyPress, and the double click on leFreqColCount.
    for (QLineEdit *edit :
         {m_ui.leTempInit, m_ui.leTempFinal, m_ui.leTempStep, m_ui.leTempDiff, m_ui.leFreqColCount})
        edit->installEventFilter(m_tablePreparation);

    // The click decides on editing as the button goes down as well, before the
    // view can open an editor on the released click.
    ResultsGridView *grid = m_ui.grdTable;
    TResultsGridController *cells = m_gridController;
    connect(grid, &QTableWidget::cellPressed, cells, &TResultsGridController::grdTableClick);
    connect(
        grid->frozenView(), &QAbstractItemView::pressed, cells,
        [cells](const QModelIndex &index) { cells->grdTableClick(index.row(), index.column()); });
    connect(grid, &QTableWidget::cellClicked, cells, &TResultsGridController::grdTableClick);
    // Moving the current cell with the keyboard is a click on the new cell too,
    // so an arrow key cannot carry editing from a result cell onto a header.
    connect(grid, &QTableWidget::currentCellChanged, cells,
            [cells](int row, int column) { cells->grdTableClick(row, column); });
    connect(grid, &QTableWidget::cellDoubleClicked, cells,
            &TResultsGridController::grdTableDblClick);
}
