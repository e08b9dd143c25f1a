#pragma once

#include <QTableWidget>

#include <memory>

class GridLineSizer;
class QAbstractItemDelegate;
class QTableView;

// grdTable: the results grid. The first two columns stay in place while the
// others scroll (a second view over the same model lies on top of them and
// shares the selection). Clicks in either view arrive as cellClicked and
// cellDoubleClicked of this widget. Rows and columns are resized by dragging
// their grid lines, as there are no header bars.
// Writes a cell's text; a cell the grid does not have (a table laid out since
// may be smaller) is left alone.
void setCellText(QTableWidget *grid, int row, int column, const QString &text);

class ResultsGridView : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int FrozenColumnCount = 2;
    // Before the first table is prepared the grid shows this many empty rows and
    // columns with its header, as a string grid does by default.
    static constexpr int InitialRowCount = 5;
    static constexpr int InitialColumnCount = 5;

    explicit ResultsGridView(QWidget *parent = nullptr);
    ~ResultsGridView() override;

    // The painters of the cells: one for the scrolling view, one for the
    // frozen columns (a delegate that serves two views confuses their editors).
    void setCellDelegates(QAbstractItemDelegate *scrolling, QAbstractItemDelegate *frozen);

    QTableView *frozenView() const { return m_frozen; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    int frozenWidth() const;
    void updateFrozenColumns();
    void updateFrozenGeometry();
    bool showGridHint(QEvent *event);

    QTableView *m_frozen = nullptr;
    std::unique_ptr<GridLineSizer> m_sizer;
};
