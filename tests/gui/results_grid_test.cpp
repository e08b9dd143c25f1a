// The results grid: the two frozen columns stay over the scrolling ones and act
// like the rest of the grid; grid lines resize rows and columns.
#include "ui/results_grid_view.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

class ResultsGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(500, 300);
        grid.setRowCount(12);
        grid.setColumnCount(10);
        for (int r = 0; r < grid.rowCount(); ++r)
            for (int c = 0; c < grid.columnCount(); ++c)
                grid.setItem(r, c, new QTableWidgetItem(QStringLiteral("%1;%2").arg(r).arg(c)));
        grid.show();
        QApplication::processEvents();
    }

    void mouse(QWidget *viewport, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
        const QPointF local(pos);
        QMouseEvent event(type, local, viewport->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    // Drags from one point to another with the left button held.
    void drag(QWidget *viewport, QPoint from, QPoint to) {
        mouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(viewport, QEvent::MouseMove, to, Qt::LeftButton);
        mouse(viewport, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    ResultsGridView grid;
};

TEST_F(ResultsGridTest, DefaultSizesAndHint) {
    EXPECT_EQ(grid.objectName(), QLatin1String("grdTable"));
    EXPECT_EQ(grid.columnWidth(5), 90);
    EXPECT_EQ(grid.rowHeight(5), 40);
    EXPECT_TRUE(grid.showGrid());
    EXPECT_FALSE(grid.horizontalHeader()->isVisible());
    EXPECT_FALSE(grid.verticalHeader()->isVisible());
    EXPECT_EQ(grid.toolTip(), QStringLiteral("Укажите частоты в оранжевых клетках. Для "
                                             "редактирования нажмите 1 раз левой кнопкой мыши. "
                                             "Для очистки ячейки - 2 раза."));
    EXPECT_NE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ResultsGridTest, FirstTwoColumnsStayWhileTheOthersScroll) {
    QTableView *frozen = grid.frozenView();
    ASSERT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->geometry(),
              QRect(grid.frameWidth(), grid.frameWidth(), 180, grid.viewport()->height()));
    for (int c = 0; c < grid.columnCount(); ++c)
        EXPECT_EQ(frozen->isColumnHidden(c), c >= 2) << c;

    grid.horizontalScrollBar()->setValue(200);
    grid.verticalScrollBar()->setValue(90);
    QApplication::processEvents();
    EXPECT_EQ(frozen->x(), grid.frameWidth()) << "frozen columns do not scroll sideways";
    EXPECT_EQ(frozen->verticalScrollBar()->value(), 90) << "but follow the rows";

    // Columns added later are scrolling columns.
    grid.setColumnCount(14);
    EXPECT_TRUE(frozen->isColumnHidden(13));
    EXPECT_FALSE(frozen->isColumnHidden(1));

    // Keyboard moves into a scrolled-away column bring it out from under them.
    grid.setCurrentCell(0, 4);
    grid.horizontalScrollBar()->setValue(grid.columnViewportPosition(4) +
                                         grid.horizontalScrollBar()->value() - 100);
    QApplication::processEvents();
    grid.setFocus();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&grid, &left);
    EXPECT_EQ(grid.currentColumn(), 3);
    EXPECT_GE(grid.visualRect(grid.currentIndex()).left(), 180);
}

TEST_F(ResultsGridTest, FrozenCellsShareSelectionClicksAndSizes) {
    QTableView *frozen = grid.frozenView();
    QList<QPoint> clicked;
    QList<QPoint> doubleClicked;
    QObject::connect(&grid, &QTableWidget::cellClicked,
                     [&](int row, int column) { clicked << QPoint(column, row); });
    QObject::connect(&grid, &QTableWidget::cellDoubleClicked,
                     [&](int row, int column) { doubleClicked << QPoint(column, row); });
    const QPoint cell = frozen->visualRect(grid.model()->index(2, 1)).center();
    mouse(frozen->viewport(), QEvent::MouseButtonPress, cell, Qt::LeftButton);
    mouse(frozen->viewport(), QEvent::MouseButtonRelease, cell, Qt::NoButton);
    mouse(frozen->viewport(), QEvent::MouseButtonDblClick, cell, Qt::LeftButton);
    mouse(frozen->viewport(), QEvent::MouseButtonRelease, cell, Qt::NoButton);
    ASSERT_GE(clicked.count(), 1);
    EXPECT_EQ(clicked.first(), QPoint(1, 2));
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.first(), QPoint(1, 2));
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 1);

    grid.setColumnWidth(0, 120);
    grid.setRowHeight(3, 70);
    EXPECT_EQ(frozen->width(), 210);
    EXPECT_EQ(frozen->rowHeight(3), 70);
}

TEST_F(ResultsGridTest, DraggingGridLinesResizesColumnsAndRows) {
    QWidget *main = grid.viewport();
    const int column3Right = grid.columnViewportPosition(3) + grid.columnWidth(3);
    drag(main, {column3Right, 10}, {column3Right + 25, 10});
    EXPECT_EQ(grid.columnWidth(3), 115);
    EXPECT_EQ(grid.columnWidth(4), 90);

    // In the frozen part: the line between the two frozen columns, and a row line.
    QWidget *frozen = grid.frozenView()->viewport();
    drag(frozen, {90, 10}, {60, 10});
    EXPECT_EQ(grid.columnWidth(0), 60);
    EXPECT_EQ(grid.frozenView()->width(), 150);
    drag(frozen, {20, 80}, {20, 100});
    EXPECT_EQ(grid.rowHeight(1), 60);
    EXPECT_EQ(grid.frozenView()->rowHeight(1), 60);

    // A press inside a cell is a plain click, not a resize.
    drag(main, {column3Right - 40, 10}, {column3Right, 10});
    EXPECT_EQ(grid.columnWidth(3), 115);
}

TEST_F(ResultsGridTest, CellsCanBeReadAsATable) {
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Table);
    QAccessibleTableInterface *table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 12);
    EXPECT_EQ(table->columnCount(), 10);
    QAccessibleInterface *cell = table->cellAt(4, 7);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QLatin1String("4;7"));
}

} // namespace
