#include "plot/column_thinning.h"

#include <algorithm>
#include <cmath>

namespace {

class Columns {
public:
    Columns(double xLo, double xHi, int columns)
        : m_lo(xLo), m_width(xHi - xLo), m_columns(columns),
          m_one(!(m_width > 0) || !std::isfinite(m_width)) {}

    int of(double x) const {
        if (m_one)
            return 0;
        const double c = std::floor((x - m_lo) / m_width * m_columns);
        return int(std::clamp(c, 0.0, double(m_columns - 1)));
    }

private:
    double m_lo;
    double m_width;
    int m_columns;
    bool m_one;
};

// Four points per column at most: fewer points than that lose nothing.
bool thinned(qsizetype points, int columns) {
    return columns > 0 && points > 4 * qsizetype(columns);
}

// The first, lowest, highest and last of points[first..last], in their order.
void keepRun(QList<QPointF> &kept, const QList<QPointF> &points, qsizetype first,
             qsizetype last) {
    qsizetype low = first;
    qsizetype high = first;
    for (qsizetype i = first + 1; i <= last; ++i) {
        if (points[i].y() < points[low].y())
            low = i;
        if (points[i].y() > points[high].y())
            high = i;
    }
    qsizetype picks[] = {first, low, high, last};
    std::sort(std::begin(picks), std::end(picks));
    for (int i = 0; i < 4; ++i)
        if (i == 0 || picks[i] != picks[i - 1])
            kept.append(points[picks[i]]);
}

} // namespace

QList<QPointF> thinToColumns(const QList<QPointF> &points, double xLo, double xHi, int columns) {
    const qsizetype n = points.size();
    if (!thinned(n, columns))
        return points;
    const Columns grid(xLo, xHi, columns);
    QList<QPointF> kept;
    kept.reserve(4 * columns);
    qsizetype first = 0;
    while (first < n) {
        const int column = grid.of(points[first].x());
        qsizetype last = first;
        while (last + 1 < n && grid.of(points[last + 1].x()) == column)
            ++last;
        keepRun(kept, points, first, last);
        first = last + 1;
    }
    return kept;
}

qsizetype thinAppendedPoint(QList<QPointF> &kept, const QList<QPointF> &points, double xLo,
                            double xHi, int columns) {
    const qsizetype n = points.size();
    if (!thinned(n - 1, columns)) {
        const qsizetype before = kept.size();
        kept = thinToColumns(points, xLo, xHi, columns);
        return thinned(n, columns) ? 0 : before;
    }
    const Columns grid(xLo, xHi, columns);
    const int column = grid.of(points[n - 1].x());
    qsizetype first = n - 1;
    while (first > 0 && grid.of(points[first - 1].x()) == column)
        --first;
    // The run before the last one lies in another column, so the kept points
    // in this column at the end are those of the last run.
    if (first < n - 1)
        while (!kept.isEmpty() && grid.of(kept.last().x()) == column)
            kept.removeLast();
    const qsizetype unchanged = kept.size();
    keepRun(kept, points, first, n - 1);
    return unchanged;
}
