#include "plot/relaxation_peaks.h"

#include "base/number_format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kZeroCelsius = 273.15;

// The vertex of the parabola through three points with x0 < x1 < x2 and y1
// not below its neighbours (and above at least one of them).
QPointF parabolaVertex(const QPointF &p0, const QPointF &p1, const QPointF &p2) {
    const double a = p1.x() - p0.x(); // > 0
    const double b = p1.x() - p2.x(); // < 0
    const double da = p1.y() - p0.y();
    const double db = p1.y() - p2.y();
    const double denominator = a * db - b * da; // > 0 when y1 rises above a neighbour
    const double x = p1.x() - 0.5 * (a * a * db - b * b * da) / denominator;
    // Lagrange's form evaluated at the vertex.
    const double l0 = (x - p1.x()) * (x - p2.x()) / ((p0.x() - p1.x()) * (p0.x() - p2.x()));
    const double l1 = (x - p0.x()) * (x - p2.x()) / ((p1.x() - p0.x()) * (p1.x() - p2.x()));
    const double l2 = (x - p0.x()) * (x - p1.x()) / ((p2.x() - p0.x()) * (p2.x() - p1.x()));
    return {x, l0 * p0.y() + l1 * p1.y() + l2 * p2.y()};
}

QString numberField(double value, QChar separator) {
    return std::isfinite(value) ? numfmt::general(value, separator) : QString();
}

} // namespace

TRelaxationPeak findPeak(double frequencyHz, QVector<QPointF> points) {
    points.erase(std::remove_if(points.begin(), points.end(),
                                [](const QPointF &p) {
                                    return !std::isfinite(p.x()) || !std::isfinite(p.y());
                                }),
                 points.end());
    std::stable_sort(points.begin(), points.end(),
                     [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });

    TRelaxationPeak peak;
    peak.FrequencyHz = frequencyHz;
    peak.PointCount = int(points.size());
    if (points.isEmpty())
        return peak;

    // The first of the largest, so equal values further on lie to its right.
    int top = 0;
    for (int i = 1; i < points.size(); ++i)
        if (points[i].y() > points[top].y())
            top = i;
    const double largest = points[top].y();
    peak.TemperatureC = points[top].x();
    peak.Value = largest;

    const int last = int(points.size()) - 1;
    if (points.size() < 3) {
        peak.kind = TRelaxationPeak::Kind::TooFewPoints;
        return peak;
    }
    const bool flat = std::all_of(points.cbegin(), points.cend(),
                                  [largest](const QPointF &p) { return p.y() == largest; });
    if (flat) {
        peak.kind = TRelaxationPeak::Kind::Flat;
        peak.TemperatureC = std::numeric_limits<double>::quiet_NaN();
        return peak;
    }
    // A largest value at an end may go on rising beyond the measured range.
    if (top == 0 || points[last].y() == largest) {
        peak.kind = TRelaxationPeak::Kind::AtEdge;
        if (points[last].y() == largest && top != 0)
            peak.TemperatureC = points[last].x();
        return peak;
    }
    peak.kind = TRelaxationPeak::Kind::Inside;
    const QPointF &before = points[top - 1];
    const QPointF &after = points[top + 1];
    // Two readings at one temperature leave no parabola to draw: the point stays.
    if (before.x() < points[top].x() && points[top].x() < after.x()) {
        const QPointF vertex = parabolaVertex(before, points[top], after);
        peak.TemperatureC = vertex.x();
        peak.Value = vertex.y();
    }
    return peak;
}

QVector<TRelaxationPeak> findPeaks(const QVector<TChartSeries> &series) {
    QVector<TRelaxationPeak> peaks;
    peaks.reserve(series.size());
    QVector<QPointF> points;
    for (const TChartSeries &s : series) {
        points.resize(s.Points.size());
        for (int i = 0; i < s.Points.size(); ++i)
            points[i] = s.Points[i].Value;
        peaks.append(findPeak(double(s.Group), points));
    }
    return peaks;
}

QString peakTable(const QVector<TRelaxationPeak> &peaks, const TPeakTableFormat &format) {
    const QChar sep = format.FieldSeparator;
    const QChar dec = format.DecimalSeparator;
    QString text = format.Titles.join(sep) + QLatin1Char('\n');
    for (const TRelaxationPeak &peak : peaks) {
        const int kind = int(peak.kind);
        text += numberField(peak.FrequencyHz, dec) + sep + numberField(peak.TemperatureC, dec) +
                sep + numberField(peak.TemperatureC + kZeroCelsius, dec) + sep +
                numberField(peak.Value, dec) + sep +
                (kind < format.KindNotes.size() ? format.KindNotes[kind] : QString()) +
                QLatin1Char('\n');
    }
    return text;
}
