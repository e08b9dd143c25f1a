#include "control/results_grid_controller.h"

#include "engine/run_engine.h"
#include "ui/results_cell_painter.h"
#include "ui/results_grid_view.h"

#include <QTableView>

namespace {
bool isResultCell(int row, int column) {
    return row > 0 && column >= ResultsGridView::FrozenColumnCount;
}
} // namespace

void setGridEditing(ResultsGridView &grid, bool on) {
    const QAbstractItemView::EditTriggers triggers =
        on ? kGridEditTriggers : QAbstractItemView::NoEditTriggers;
    grid.setEditTriggers(triggers);
    grid.frozenView()->setEditTriggers(triggers);
}

bool isGridEditing(const ResultsGridView &grid) {
    return grid.editTriggers() != QAbstractItemView::NoEditTriggers;
}

TResultsGridController::TResultsGridController(const RunEngine &engine, ResultsGridView *grid,
                                               QObject *parent)
    : QObject(parent), m_engine(engine), m_grid(grid), m_painter(new TResultsCellPainter(this)) {
    m_grid->setCellDelegates(m_painter, new TResultsCellPainter(this));
}

// While a run writes into the table, only its result cells may be edited.
void TResultsGridController::grdTableClick(int row, int column) {
    if (!m_engine.isRunning())
        return;
    setGridEditing(*m_grid, isResultCell(row, column));
}

void TResultsGridController::grdTableDblClick(int row, int column) {
    if (!isResultCell(row, column))
        return;
    QTableWidgetItem *item = m_grid->item(row, column);
    if (!item || item->text().isEmpty())
        return;
    item->setText(QString());
    emit resultCellCleared(row, column);
}
