#include "plot/cole_cole.h"

#include <QHash>

QVector<TColeColePoint> coleColePoints(const TChartSeries &real, const TChartSeries &imaginary) {
    QHash<TCellKey, double> imaginaryOfCell;
    imaginaryOfCell.reserve(imaginary.Points.size());
    for (const TSeriesPoint &p : imaginary.Points)
        imaginaryOfCell.insert(p.Cell, p.Value.y());

    // The series keep their points by ascending frequency.
    QVector<TColeColePoint> points;
    for (const TSeriesPoint &p : real.Points) {
        const auto found = imaginaryOfCell.constFind(p.Cell);
        if (found != imaginaryOfCell.cend())
            points.append({p.Value.x(), p.Value.y(), *found});
    }
    return points;
}
