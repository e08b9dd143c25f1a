#pragma once

#include <QAbstractItemView>
#include <QObject>

class RunEngine;
class ResultsGridView;
class TResultsCellPainter;

// What starts an edit while the grid's editing is on: a click on the selected
// cell, F2, or typing.
inline constexpr QAbstractItemView::EditTriggers kGridEditTriggers =
    QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
    QAbstractItemView::AnyKeyPressed;

// Switches cell editing of both parts of the grid (frozen and scrolling) on or off.
void setGridEditing(ResultsGridView &grid, bool on);
bool isGridEditing(const ResultsGridView &grid);

// Paints the results grid and keeps its editing rules: during a run only the
// result cells can be edited, and a double click empties a result cell. The
// storages and the CSV table are never touched here.
class TResultsGridController : public QObject {
    Q_OBJECT
public:
    TResultsGridController(const RunEngine &engine, ResultsGridView *grid,
                           QObject *parent = nullptr);

    TResultsCellPainter *cellPainter() const { return m_painter; }

signals:
    // A double click emptied a result cell that held text.
    void resultCellCleared(int row, int column);

public slots:
    void grdTableClick(int row, int column);
    void grdTableDblClick(int row, int column);

private:
    const RunEngine &m_engine;
    ResultsGridView *m_grid;
    TResultsCellPainter *m_painter;
};
