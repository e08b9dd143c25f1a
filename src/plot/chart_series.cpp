#include "plot/chart_series.h"

#include "base/number_format.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

quint64 orderKey(int32_t major, int32_t minor) {
    return (quint64(quint32(major)) << 32) | quint32(minor);
}

int pointIndex(const QVector<TSeriesPoint> &points, quint64 order) {
    const auto it =
        std::lower_bound(points.cbegin(), points.cend(), order,
                         [](const TSeriesPoint &p, quint64 key) { return p.Order < key; });
    return int(it - points.cbegin());
}

QString frequencyName(int32_t hz, QChar separator) {
    const plotunits::TUnitScale scale = plotunits::scaleForRange(hz, hz);
    return numfmt::general(hz / scale.factor(), separator) + QLatin1Char(' ') + scale.Prefix +
           QStringLiteral("Hz");
}

} // namespace

TChartSeriesSet::TChartSeriesSet(TChartQuantity quantity, TChartArgument argument, bool logValues,
                                 QChar decimalSeparator)
    : m_quantity(quantity), m_argument(argument), m_logValues(logValues),
      m_separator(decimalSeparator) {}

std::optional<TChartSeriesSet::Drawn> TChartSeriesSet::drawnOf(const TPlotReading &r) const {
    const double y = m_quantity.value(r, m_cell);
    Drawn drawn;
    if (m_argument == TChartArgument::Temperature) {
        drawn = {r.FrequencyHz, orderKey(r.Row, r.Col), QPointF(r.Temperature, y)};
    } else {
        if (r.FrequencyHz <= 0)
            return std::nullopt;
        drawn = {r.Row, orderKey(r.FrequencyHz, r.Col), QPointF(r.FrequencyHz, y)};
    }
    if (!std::isfinite(drawn.value.x()) || !std::isfinite(y) || (m_logValues && y <= 0.0))
        return std::nullopt;
    return drawn;
}

QString TChartSeriesSet::seriesName(const TPlotReading &reading) const {
    if (m_argument == TChartArgument::Temperature)
        return frequencyName(reading.FrequencyHz, m_separator);
    return numfmt::fourDigits(reading.SetPoint, m_separator) + QStringLiteral(" °C");
}

int TChartSeriesSet::seriesIndex(qint64 group) const {
    const auto it =
        std::lower_bound(m_series.cbegin(), m_series.cend(), group,
                         [](const TChartSeries &s, qint64 key) { return s.Group < key; });
    return int(it - m_series.cbegin());
}

void TChartSeriesSet::rebuild(const TRunReadings &readings) {
    m_series.clear();
    m_quantities.clear();
    m_bounds.reset();
    m_boundsStale = false;
    m_pointCount = 0;

    // Readings in recorded order come mostly in the order of their series'
    // points, so the sort below has little to do, and a run of readings
    // mostly cycles through a few series.
    QHash<qint64, int> seriesOfGroup;
    int lastSeries = -1;
    const QVector<TPlotReading> &all = readings.readings();
    for (int i = 0; i < all.size(); ++i) {
        if (!readings.isNewest(i))
            continue;
        const TPlotReading &reading = all[i];
        const std::optional<Drawn> drawn = drawnOf(reading);
        if (!drawn)
            continue;
        if (lastSeries < 0 || m_series[lastSeries].Group != drawn->group) {
            auto found = seriesOfGroup.constFind(drawn->group);
            if (found == seriesOfGroup.cend()) {
                found = seriesOfGroup.insert(drawn->group, int(m_series.size()));
                m_series.append({drawn->group, seriesName(reading), {}});
            }
            lastSeries = *found;
        }
        m_series[lastSeries].Points.append(
            {drawn->order, cellKey(reading.Row, reading.Col), drawn->value});
        ++m_pointCount;
        countQuantity(reading, 1);
        widenBounds(drawn->value);
    }
    std::sort(m_series.begin(), m_series.end(),
              [](const TChartSeries &a, const TChartSeries &b) { return a.Group < b.Group; });
    const auto byOrder = [](const TSeriesPoint &a, const TSeriesPoint &b) {
        return a.Order < b.Order;
    };
    for (TChartSeries &series : m_series)
        if (!std::is_sorted(series.Points.cbegin(), series.Points.cend(), byOrder))
            std::sort(series.Points.begin(), series.Points.end(), byOrder);
}

QVector<TSeriesEdit> TChartSeriesSet::apply(const TRunReadings &readings,
                                            const TReadingUpdate &update) {
    QVector<TSeriesEdit> edits;
    const TPlotReading &now = readings.readings()[update.Current];
    const std::optional<Drawn> drawn = drawnOf(now);

    if (update.Previous >= 0) {
        const TPlotReading &before = readings.readings()[update.Previous];
        if (const std::optional<Drawn> was = drawnOf(before)) {
            countQuantity(before, -1);
            if (drawn && drawn->group == was->group && drawn->order == was->order) {
                const int s = seriesIndex(was->group);
                QVector<TSeriesPoint> &points = m_series[s].Points;
                const int p = pointIndex(points, was->order);
                touchBounds(points[p].Value);
                points[p].Value = drawn->value;
                widenBounds(drawn->value);
                countQuantity(now, 1);
                edits.append({TSeriesEdit::ReplacePoint, s, p, drawn->value, {}});
                return edits;
            }
            removePoint(*was, edits);
        }
    }
    if (drawn)
        insertPoint(update.Cell, *drawn, now, edits);
    return edits;
}

void TChartSeriesSet::removePoint(const Drawn &at, QVector<TSeriesEdit> &edits) {
    const int s = seriesIndex(at.group);
    QVector<TSeriesPoint> &points = m_series[s].Points;
    const int p = pointIndex(points, at.order);
    touchBounds(points[p].Value);
    points.remove(p);
    --m_pointCount;
    edits.append({TSeriesEdit::RemovePoint, s, p, {}, {}});
    if (points.isEmpty()) {
        m_series.remove(s);
        edits.append({TSeriesEdit::RemoveSeries, s, 0, {}, {}});
    }
}

void TChartSeriesSet::insertPoint(TCellKey cell, const Drawn &drawn, const TPlotReading &reading,
                                  QVector<TSeriesEdit> &edits) {
    const int s = seriesIndex(drawn.group);
    if (s == m_series.size() || m_series[s].Group != drawn.group) {
        m_series.insert(s, {drawn.group, seriesName(reading), {}});
        edits.append({TSeriesEdit::AddSeries, s, 0, {}, m_series[s].Name});
    }
    QVector<TSeriesPoint> &points = m_series[s].Points;
    const int p = pointIndex(points, drawn.order);
    points.insert(p, {drawn.order, cell, drawn.value});
    ++m_pointCount;
    countQuantity(reading, 1);
    widenBounds(drawn.value);
    edits.append({TSeriesEdit::InsertPoint, s, p, drawn.value, {}});
}

std::optional<QPointF> TChartSeriesSet::pointOf(const TRunReadings &readings,
                                                TCellKey cell) const {
    const auto at = readings.cells().constFind(cell);
    if (at == readings.cells().cend())
        return std::nullopt;
    const std::optional<Drawn> drawn = drawnOf(readings.readings()[*at]);
    if (!drawn)
        return std::nullopt;
    const QVector<TSeriesPoint> &points = m_series[seriesIndex(drawn->group)].Points;
    return points[pointIndex(points, drawn->order)].Value;
}

void TChartSeriesSet::countQuantity(const TPlotReading &reading, int delta) {
    countQuantity(m_quantity.nameIn(reading), m_quantity.unitIn(reading), delta);
}

void TChartSeriesSet::countQuantity(const QString &name, const QString &unit, int delta) {
    // The readings share their few texts, so most comparisons end at the pointer.
    const auto same = [](const QString &a, const QString &b) {
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    };
    for (int i = 0; i < m_quantities.size(); ++i) {
        Quantity &q = m_quantities[i];
        if (same(q.name, name) && same(q.unit, unit)) {
            q.count += delta;
            if (q.count <= 0)
                m_quantities.remove(i);
            return;
        }
    }
    if (delta > 0)
        m_quantities.append({name, unit, delta});
}

// Bounds grow with every point; a point that leaves from a bound makes them
// stale, and they are counted again only when asked for.
void TChartSeriesSet::widenBounds(const QPointF &p) {
    if (m_boundsStale)
        return;
    if (!m_bounds) {
        m_bounds = Bounds{p.x(), p.x(), p.y(), p.y()};
        return;
    }
    m_bounds->xMin = std::min(m_bounds->xMin, p.x());
    m_bounds->xMax = std::max(m_bounds->xMax, p.x());
    m_bounds->yMin = std::min(m_bounds->yMin, p.y());
    m_bounds->yMax = std::max(m_bounds->yMax, p.y());
}

void TChartSeriesSet::touchBounds(const QPointF &p) {
    if (m_bounds && (p.x() == m_bounds->xMin || p.x() == m_bounds->xMax ||
                     p.y() == m_bounds->yMin || p.y() == m_bounds->yMax))
        m_boundsStale = true;
}

void TChartSeriesSet::recomputeBounds() const {
    m_bounds.reset();
    for (const TChartSeries &series : m_series)
        for (const TSeriesPoint &point : series.Points) {
            const QPointF &p = point.Value;
            if (!m_bounds) {
                m_bounds = Bounds{p.x(), p.x(), p.y(), p.y()};
                continue;
            }
            m_bounds->xMin = std::min(m_bounds->xMin, p.x());
            m_bounds->xMax = std::max(m_bounds->xMax, p.x());
            m_bounds->yMin = std::min(m_bounds->yMin, p.y());
            m_bounds->yMax = std::max(m_bounds->yMax, p.y());
        }
    m_boundsStale = false;
}

std::optional<TChartSeriesSet::Bounds> TChartSeriesSet::bounds() const {
    if (m_boundsStale)
        recomputeBounds();
    return m_bounds;
}

plotunits::TUnitScale TChartSeriesSet::valueScale() const {
    const bool dimensioned =
        std::any_of(m_quantities.cbegin(), m_quantities.cend(),
                    [](const Quantity &q) { return !plotunits::chartUnit(q.unit).isEmpty(); });
    const std::optional<Bounds> b = bounds();
    if (!dimensioned || !b)
        return {};
    return plotunits::scaleForRange(b->yMin, b->yMax);
}

QString TChartSeriesSet::valueTitle() const {
    if (m_quantities.isEmpty())
        return m_quantity.symbol().isEmpty()
                   ? QString()
                   : plotunits::axisTitle(m_quantity.symbol(), {}, m_quantity.unit());
    const plotunits::TUnitScale scale = valueScale();
    QStringList titles;
    for (const Quantity &q : m_quantities)
        titles << plotunits::axisTitle(q.name, scale, q.unit);
    titles.sort();
    return titles.join(QStringLiteral(" / "));
}
