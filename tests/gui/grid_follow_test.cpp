// The results grid follows the cell the run writes, except for a while after
// the user scrolled it; the clock is the test's.
#include "control/grid_follow.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <optional>

namespace {

class GridFollowTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setRowCount(82);
        grid.setColumnCount(22);
        grid.resize(500, 300);
        grid.show();
    }

    bool cellInView(int row, int column) const {
        const QRect cell(grid.columnViewportPosition(column), grid.rowViewportPosition(row),
                         grid.columnWidth(column), grid.rowHeight(row));
        return grid.viewport()->rect().contains(cell);
    }
    void recordAt(int row, int column) {
        TJournalReading reading;
        reading.Row = row;
        reading.Col = column;
        follow.readingRecorded(reading);
    }
    // A turn of the mouse wheel over the grid, as the user scrolls it.
    void userScrollsDown() {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &wheel);
    }

    QTableWidget grid;
    qint64 now = 0;
    TGridFollow follow{&grid, [this] { return now; }};
};

TEST_F(GridFollowTest, TheWrittenCellComesIntoView) {
    ASSERT_FALSE(cellInView(60, 20));
    recordAt(60, 20);
    EXPECT_TRUE(cellInView(60, 20));
    // The grid's own scrolling is not the user's: the next cell is followed too.
    now += 1000;
    recordAt(2, 2);
    EXPECT_TRUE(cellInView(2, 2));
}

TEST_F(GridFollowTest, AUserScrollHoldsTheGridForThirtySeconds) {
    struct Case {
        qint64 afterScrollMs;
        bool follows;
    };
    const Case cases[] = {{0, false}, {10000, false}, {29999, false}, {30000, true}, {90000, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.afterScrollMs);
        grid.scrollToTop();
        userScrollsDown();
        const int scrolledTo = grid.verticalScrollBar()->value();
        ASSERT_GT(scrolledTo, 0) << "the wheel scrolled the grid";
        now += c.afterScrollMs;
        recordAt(70, 3);
        EXPECT_EQ(cellInView(70, 3), c.follows);
        if (!c.follows) {
            EXPECT_EQ(grid.verticalScrollBar()->value(), scrolledTo);
        }
        now += TGridFollow::kUserScrollHoldMs;
    }
}

} // namespace
