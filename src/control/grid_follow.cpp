#include "control/grid_follow.h"

#include <QScrollBar>
#include <QTableWidget>

TGridFollow::TGridFollow(QTableWidget *grid, SteadyClock clock, QObject *parent)
    : QObject(parent), m_grid(grid), m_clock(clock ? std::move(clock) : systemSteadyClock()) {
    // Only the user's wheel, drag, arrows and page clicks trigger a scroll
    // bar's actions; the grid's own scrolling sets its value and does not.
    for (QScrollBar *bar : {grid->verticalScrollBar(), grid->horizontalScrollBar()})
        connect(bar, &QScrollBar::actionTriggered, this, [this] { m_userScrolledAt = m_clock(); });
}

void TGridFollow::readingRecorded(const TJournalReading &reading) {
    if (m_userScrolledAt && m_clock() - *m_userScrolledAt < kUserScrollHoldMs)
        return;
    m_grid->scrollTo(m_grid->model()->index(reading.Row, reading.Col),
                     QAbstractItemView::EnsureVisible);
}
