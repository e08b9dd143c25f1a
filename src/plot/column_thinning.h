#pragma once

#include <QList>
#include <QPointF>

// Thinning of a line to the pixels it is drawn on. The x range [xLo, xHi] is
// cut into `columns` equal columns (a point outside goes to the nearest end
// column); of each run of consecutive points that fall into one column the
// first, the lowest, the highest and the last are kept, in their order. The
// line drawn through what is kept covers the same pixels, and every column
// keeps its lowest and highest point, so no extreme is ever hidden. The
// points are neither moved nor reordered; a range that is empty or not
// finite puts every point into one column.
QList<QPointF> thinToColumns(const QList<QPointF> &points, double xLo, double xHi, int columns);

// Follows a point appended to a line: `kept` held thinToColumns() of the
// line without its last point, and becomes thinToColumns() of all `points`
// with the same range and columns. Only the line's last run of points in one
// column is looked at again, so a long line grows at the cost of its end.
// Returns how many of the kept points at the start were left as they were.
qsizetype thinAppendedPoint(QList<QPointF> &kept, const QList<QPointF> &points, double xLo, double xHi,
                       int columns);
