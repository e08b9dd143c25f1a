#include "ui/thinned_lines_item.h"

#include <QChart>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

namespace {
// Above the plot's background and grid, below the axes' labels and the ring.
constexpr qreal kLinesZ = 5;
// A changed end repaints this much around it: the pen and rounding.
constexpr qreal kRepaintMargin = 2;
// A repaint of less than this share of the plot draws the pieces of lines in it only.
constexpr qreal kPartialShare = 0.25;

// Draws the runs of segments of `line` that come within the margin of
// `exposed`. What lies outside is clipped anyway; the ends of a run lie
// beyond the margin, so the pixels inside are those the whole line gives.
void drawWithin(QPainter *painter, const QPolygonF &line, const QRectF &exposed) {
    if (line.size() < 2) {
        painter->drawPolyline(line);
        return;
    }
    const QRectF near =
        exposed.adjusted(-kRepaintMargin, -kRepaintMargin, kRepaintMargin, kRepaintMargin);
    const auto reaches = [&](const QPointF &a, const QPointF &b) {
        return std::max(a.x(), b.x()) >= near.left() && std::min(a.x(), b.x()) <= near.right() &&
               std::max(a.y(), b.y()) >= near.top() && std::min(a.y(), b.y()) <= near.bottom();
    };
    qsizetype start = -1;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (reaches(line[i - 1], line[i])) {
            if (start < 0)
                start = i - 1;
            continue;
        }
        if (start >= 0)
            painter->drawPolyline(line.constData() + start, int(i - start));
        start = -1;
    }
    if (start >= 0)
        painter->drawPolyline(line.constData() + start, int(line.size() - start));
}

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

void ThinnedLinesItem::remap() {
    m_mapped.resize(m_lines.size());
    m_bounds.resize(m_lines.size());
    for (int i = 0; i < m_lines.size(); ++i) {
        m_mapped[i] = mapped(m_lines[i]);
        m_bounds[i] = mappedBounds(m_mapped[i], 0);
    }
}

void ThinnedLinesItem::setFrame(const QRectF &plotArea, double xMin, double xMax, double yMin,
                                double yMax) {
    if (plotArea == m_plot && xMin == m_xMin && xMax == m_xMax && yMin == m_yMin && yMax == m_yMax)
        return;
    prepareGeometryChange();
    m_plot = plotArea;
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    remap();
    update();
}

void ThinnedLinesItem::setLines(const QList<QList<QPointF>> &lines, const QList<QColor> &colors) {
    m_lines = lines;
    m_colors = colors;
    remap();
    update();
}

void ThinnedLinesItem::setLine(int line, const QList<QPointF> &points, qsizetype unchangedBefore) {
    // The segment into the first changed point changes too.
    const qsizetype from = std::max<qsizetype>(0, unchangedBefore - 1);
    const QRectF before = mappedBounds(m_mapped[line], from);
    m_lines[line] = points;
    m_mapped[line] = mapped(points);
    m_bounds[line] = mappedBounds(m_mapped[line], 0);
    update(before.united(mappedBounds(m_mapped[line], from)));
}

void ThinnedLinesItem::clear() {
    setLines({}, {});
}

void ThinnedLinesItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *) {
    const QRectF exposed = option->exposedRect;
    const bool partial =
        exposed.width() * exposed.height() < kPartialShare * m_plot.width() * m_plot.height();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setClipRect(m_plot, Qt::IntersectClip);
    QPen pen;
    pen.setCosmetic(true);
    pen.setWidth(1);
    for (int i = 0; i < m_mapped.size(); ++i) {
        if (!m_bounds[i].intersects(exposed))
            continue;
        pen.setColor(i < m_colors.size() ? m_colors[i] : QColor(Qt::black));
        painter->setPen(pen);
        if (partial)
            drawWithin(painter, m_mapped[i], exposed);
        else
            painter->drawPolyline(m_mapped[i]);
    }
    painter->restore();
}
