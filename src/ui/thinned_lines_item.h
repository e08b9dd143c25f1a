#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

class QChart;

// The lines of a chart too large for markers, drawn over its plot area as
// plain polylines, one per series in the series' colour. Qt Charts' own line
// series work out a stroked outline of every line for the mouse whenever one
// point changes, milliseconds a series, and lay the legend out again for
// each series added; these lines cost their drawing only. A line that
// changed at its end repaints that end alone, and a repaint of part of the
// plot draws only the pieces of lines that reach into it.
class ThinnedLinesItem : public QGraphicsItem {
public:
    explicit ThinnedLinesItem(QChart *chart);

    // Points in axis units; the frame maps the axes' ranges onto the plot area.
    void setFrame(const QRectF &plotArea, double xMin, double xMax, double yMin, double yMax);
    void setLines(const QList<QList<QPointF>> &lines, const QList<QColor> &colors);
    // Line `line` now holds `points`, the first `unchangedBefore` of them as before.
    void setLine(int line, const QList<QPointF> &points, qsizetype unchangedBefore);
    void clear();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

private:
    QPolygonF mapped(const QList<QPointF> &points) const;
    QRectF mappedBounds(const QPolygonF &polygon, qsizetype from) const;
    void remap();

    QRectF m_plot;
    double m_xMin = 0, m_xMax = 1, m_yMin = 0, m_yMax = 1;
    QList<QList<QPointF>> m_lines;
    QList<QPolygonF> m_mapped;
    QList<QRectF> m_bounds; // of each mapped line, with the repaint margin
    QList<QColor> m_colors;
};
