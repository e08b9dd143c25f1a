#include "plot/column_thinning.h"

#include <algorithm>
#include <cmath>

QList<QPointF> thinToColumns(const QList<QPointF> &points, double xLo, double xHi, int columns) {
    const qsizetype n = points.size();
    // Four points per column at most: fewer points than that lose nothing.
    if (columns <= 0 || n <= 4 * qsizetype(columns))
        return points;
    const double width = xHi - xLo;
    const bool oneColumn = !(width > 0) || !std::isfinite(width);
    auto columnOf = [&](double x) {
        if (oneColumn)
            return 0;
        const double c = std::floor((x - xLo) / width * columns);
        return int(std::clamp(c, 0.0, double(columns - 1)));
    };

    QList<QPointF> kept;
    kept.reserve(4 * columns);
    qsizetype first = 0;
    while (first < n) {
        const int column = columnOf(points[first].x());
        qsizetype last = first;
        qsizetype low = first;
        qsizetype high = first;
        while (last + 1 < n && columnOf(points[last + 1].x()) == column) {
            ++last;
            if (points[last].y() < points[low].y())
                low = last;
            if (points[last].y() > points[high].y())
                high = last;
        }
        qsizetype picks[] = {first, low, high, last};
        std::sort(std::begin(picks), std::end(picks));
        for (int i = 0; i < 4; ++i)
            if (i == 0 || picks[i] != picks[i - 1])
                kept.append(points[picks[i]]);
        first = last + 1;
    }
    return kept;
}
