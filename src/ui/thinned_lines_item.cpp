#include "ui/thinned_lines_item.h"

#include <QChart>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {
// Above the plot's background and grid, below the axes' labels and the ring.
constexpr qreal kLinesZ = 5;
// A changed end repaints this much around it: the pen and rounding.
constexpr qreal kRepaintMargin = 2;
} // namespace

ThinnedLinesItem::ThinnedLinesItem(QChart *chart) : QGraphicsItem(chart) {
    setZValue(kLinesZ);
    setFlag(ItemUsesExtendedStyleOption);
}

QRectF ThinnedLinesItem::boundingRect() const {
    return m_plot.adjusted(-kRepaintMargin, -kRepaintMargin, kRepaintMargin, kRepaintMargin);
}

QPolygonF ThinnedLinesItem::mapped(const QList<QPointF> &points) const {
    QPolygonF polygon;
    polygon.reserve(points.size());
    const double xScale = m_xMax > m_xMin ? m_plot.width() / (m_xMax - m_xMin) : 0.0;
    const double yScale = m_yMax > m_yMin ? m_plot.height() / (m_yMax - m_yMin) : 0.0;
    for (const QPointF &p : points)
        polygon.append(QPointF(m_plot.left() + (p.x() - m_xMin) * xScale,
                               m_plot.bottom() - (p.y() - m_yMin) * yScale));
    return polygon;
}

QRectF ThinnedLinesItem::mappedBounds(const QPolygonF &polygon, qsizetype from) const {
    if (polygon.isEmpty())
        return {};
    from = std::clamp<qsizetype>(from, 0, polygon.size() - 1);
    double left = polygon[from].x(), right = left, top = polygon[from].y(), bottom = top;
    for (qsizetype i = from + 1; i < polygon.size(); ++i) {
        left = std::min(left, polygon[i].x());
        right = std::max(right, polygon[i].x());
        top = std::min(top, polygon[i].y());
        bottom = std::max(bottom, polygon[i].y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom))
        .adjusted(-kRepaintMargin, -kRepaintMargin, kRepaintMargin, kRepaintMargin);
}

void ThinnedLinesItem::setFrame(const QRectF &plotArea, double xMin, double xMax, double yMin,
                                double yMax) {
    if (plotArea == m_plot && xMin == m_xMin && xMax == m_xMax && yMin == m_yMin &&
        yMax == m_yMax)
        return;
    prepareGeometryChange();
    m_plot = plotArea;
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    for (int i = 0; i < m_lines.size(); ++i)
        m_mapped[i] = mapped(m_lines[i]);
    update();
}

void ThinnedLinesItem::setLines(const QList<QList<QPointF>> &lines, const QList<QColor> &colors) {
    m_lines = lines;
    m_colors = colors;
    m_mapped.clear();
    for (const QList<QPointF> &line : lines)
        m_mapped.append(mapped(line));
    update();
}

void ThinnedLinesItem::setLine(int line, const QList<QPointF> &points, qsizetype unchangedBefore) {
    // The segment into the first changed point changes too.
    const qsizetype from = std::max<qsizetype>(0, unchangedBefore - 1);
    const QRectF before = mappedBounds(m_mapped[line], from);
    m_lines[line] = points;
    m_mapped[line] = mapped(points);
    update(before.united(mappedBounds(m_mapped[line], from)));
}

void ThinnedLinesItem::clear() {
    setLines({}, {});
}

void ThinnedLinesItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setClipRect(m_plot, Qt::IntersectClip);
    for (int i = 0; i < m_mapped.size(); ++i) {
        QPen pen(i < m_colors.size() ? m_colors[i] : QColor(Qt::black));
        pen.setCosmetic(true);
        pen.setWidth(1);
        painter->setPen(pen);
        painter->drawPolyline(m_mapped[i]);
    }
    painter->restore();
}
