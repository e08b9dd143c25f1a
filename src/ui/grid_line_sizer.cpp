#include "ui/grid_line_sizer.h"

#include <QMouseEvent>
#include <QTableView>

namespace {
// How close to a grid line, in pixels, the mouse grabs it.
constexpr int kGrip = 2;
constexpr int kMinimumSize = 2;

int along(Qt::Orientation orientation, QPoint pos) {
    return orientation == Qt::Horizontal ? pos.x() : pos.y();
}
} // namespace

GridLineSizer::GridLineSizer(QTableView *target, std::initializer_list<QTableView *> views)
    : m_target(target), m_views(views) {
    for (QTableView *view : m_views) {
        view->viewport()->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
    }
}

QTableView *GridLineSizer::viewOf(QObject *viewport) const {
    for (QTableView *view : m_views)
        if (view->viewport() == viewport)
            return view;
    return nullptr;
}

// The column whose right edge, or the row whose bottom edge, lies under pos.
GridLineSizer::Hit GridLineSizer::hitTest(const QTableView *view, QPoint pos) const {
    for (int c : {view->columnAt(pos.x() - kGrip), view->columnAt(pos.x() + kGrip)}) {
        if (c < 0)
            continue;
        const int right = view->columnViewportPosition(c) + view->columnWidth(c);
        if (qAbs(pos.x() - right) <= kGrip)
            return {Qt::Horizontal, c};
    }
    for (int r : {view->rowAt(pos.y() - kGrip), view->rowAt(pos.y() + kGrip)}) {
        if (r < 0)
            continue;
        const int bottom = view->rowViewportPosition(r) + view->rowHeight(r);
        if (qAbs(pos.y() - bottom) <= kGrip)
            return {Qt::Vertical, r};
    }
    return {};
}

int GridLineSizer::sizeOf(const Hit &hit) const {
    return hit.orientation == Qt::Horizontal ? m_target->columnWidth(hit.section)
                                             : m_target->rowHeight(hit.section);
}

void GridLineSizer::resize(const Hit &hit, int size) {
    size = qMax(size, kMinimumSize);
    if (hit.orientation == Qt::Horizontal)
        m_target->setColumnWidth(hit.section, size);
    else
        m_target->setRowHeight(hit.section, size);
}

bool GridLineSizer::eventFilter(QObject *watched, QEvent *event) {
    QTableView *view = viewOf(watched);
    if (!view)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (m_drag.section >= 0) {
            resize(m_drag, m_dragStartSize + along(m_drag.orientation, pos) - m_dragStart);
            return true;
        }
        const Hit hit = hitTest(view, pos);
        if (hit.section < 0)
            view->viewport()->unsetCursor();
        else
            view->viewport()->setCursor(hit.orientation == Qt::Horizontal ? Qt::SplitHCursor
                                                                          : Qt::SplitVCursor);
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const Hit hit = hitTest(view, mouse->position().toPoint());
        if (mouse->button() != Qt::LeftButton || hit.section < 0)
            return false;
        m_drag = hit;
        m_dragStart = along(hit.orientation, mouse->position().toPoint());
        m_dragStartSize = sizeOf(hit);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_drag.section < 0)
            return false;
        m_drag = {};
        return true;
    default:
        return false;
    }
}
