#include "ui/reading_chart_view.h"

#include "base/number_format.h"
#include "plot/axis_range.h"
#include "plot/column_thinning.h"
#include "plot/series_colors.h"
#include "ui/chart_quantity_text.h"
#include "ui/thinned_lines_item.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QScreen>
#include <QValueAxis>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kMarkerSize = 6;
constexpr qreal kRingSize = 16;
// Share of the data's span left free at each end of a linear axis, so that
// no marker sits on the frame.
constexpr double kMargin = 0.02;
constexpr int kArgumentTicks = 11;
// Above this many points a chart draws lines only: its markers would cover
// one another, and drawing them would take most of a second per repaint.
constexpr int kMarkerLimit = 4000;
// Columns to thin to when neither the plot nor a screen tells its width.
constexpr int kFallbackColumns = 1920;
constexpr int kValueTicks = 8;
// Up to this many series the legend lists them; more get a colour bar.
constexpr int kLegendEntries = 8;
constexpr int kBarWidth = 14;
constexpr int kBarGap = 10; // between the plot and the bar, and the bar and its labels
constexpr QMargins kChartMargins(4, 4, 4, 4);

QLocale labelLocale(QChar decimalSeparator) {
    QLocale locale =
        decimalSeparator == QLatin1Char(',') ? QLocale(QLocale::Russian) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// A logarithmic axis is a linear one over the decimal logarithm, so that it
// can label 2x and 5x ticks where a decade has too few.
QAbstractAxis *makeAxis(bool logarithmic) {
    if (logarithmic) {
        auto *axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        return axis;
    }
    auto *axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%.4g"));
    return axis;
}

// Sets the range only when it changes: every change lays out all points again.
void fitRange(QAbstractAxis *axis, double lo, double hi, QChar decimalSeparator) {
    if (auto *log = qobject_cast<QCategoryAxis *>(axis)) {
        const axisrange::TLogAxis r = axisrange::logarithmicAxis(lo, hi);
        const double min = std::log10(r.lo);
        const double max = std::log10(r.hi);
        if (log->min() == min && log->max() == max && log->count() == r.labels.size())
            return;
        for (const QString &label : log->categoriesLabels())
            log->remove(label);
        log->setStartValue(min);
        for (double value : r.labels)
            log->append(numfmt::general(value, decimalSeparator), std::log10(value));
        log->setRange(min, max);
        return;
    }
    auto *linear = static_cast<QValueAxis *>(axis);
    const double margin = (hi - lo) * kMargin;
    const axisrange::TRange r =
        axisrange::linear(lo - margin, hi + margin,
                          linear->orientation() == Qt::Horizontal ? kArgumentTicks : kValueTicks);
    if (linear->min() != r.lo || linear->max() != r.hi)
        linear->setRange(r.lo, r.hi);
    if (linear->tickCount() != r.ticks)
        linear->setTickCount(r.ticks);
    const QString format = axisrange::labelFormat(r);
    if (linear->labelFormat() != format)
        linear->setLabelFormat(format);
}

} // namespace

ReadingChartView::ReadingChartView(QChar decimalSeparator, QWidget *parent)
    // Given at construction, the chart replaces no default one: a default
    // chart replaced later would be left to nobody.
    : QChartView(new QChart, parent), m_chart(chart()), m_lines(new ThinnedLinesItem(m_chart)),
      m_highlight(new QScatterSeries(this)), m_separator(decimalSeparator) {
    m_chart->setLocalizeNumbers(true);
    m_chart->setLocale(labelLocale(decimalSeparator));
    m_chart->legend()->setAlignment(Qt::AlignRight);
    m_chart->setMargins(kChartMargins);
    setRenderHint(QPainter::Antialiasing);
    // A moved point and the axes that follow it change most of the chart; a
    // partial update leaves pieces of the old markers behind.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    m_highlight->setName(QStringLiteral("selected"));
    m_highlight->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_highlight->setMarkerSize(kRingSize);
    m_highlight->setBrush(Qt::NoBrush);
    m_highlight->setPen(QPen(QColor(220, 0, 0), 2.5));
    replaceAxes(false, false);
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        if (m_markers)
            return;
        frameLines();
        if (!(thinningGrid() == m_grid))
            thinAll();
    });
}

std::optional<QPointF> ReadingChartView::highlightedPoint() const {
    if (m_highlight->count() == 0)
        return std::nullopt;
    return m_highlight->at(0);
}

QList<QPointF> ReadingChartView::shownPoints(int series) const {
    QList<QPointF> points = m_markers ? m_series.at(series)->points() : m_kept.at(series);
    for (QPointF &p : points)
        p = QPointF(m_logArgument ? std::pow(10.0, p.x()) : p.x(),
                    m_logValues ? std::pow(10.0, p.y()) : p.y());
    return points;
}

QPointF ReadingChartView::plotted(const QPointF &p) const {
    const double y = p.y() / m_scale.factor();
    return QPointF(m_logArgument ? std::log10(p.x()) : p.x(), m_logValues ? std::log10(y) : y);
}

void ReadingChartView::replaceAxes(bool logArgument, bool logValues) {
    for (QAbstractAxis *axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_logArgument = logArgument;
    m_logValues = logValues;
    m_axisX = makeAxis(logArgument);
    m_axisY = makeAxis(logValues);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
}

QList<QPointF> ReadingChartView::plottedPoints(const TChartSeries &series) const {
    QList<QPointF> points;
    points.reserve(series.Points.size());
    for (const TSeriesPoint &p : series.Points)
        points.append(plotted(p.Value));
    return points;
}

ReadingChartView::ThinningGrid ReadingChartView::thinningGrid() const {
    // A logarithmic axis is a category axis, which is a value axis too.
    const auto *axis = static_cast<const QValueAxis *>(m_axisX);
    return {axis->min(), axis->max(), plotColumns()};
}

// Before the first layout the plot has no width yet; the screen's is an upper bound.
int ReadingChartView::plotColumns() const {
    const int width = qCeil(m_chart->plotArea().width() * devicePixelRatioF());
    if (width > 1)
        return width;
    const QScreen *shown = screen();
    return shown ? qCeil(shown->size().width() * shown->devicePixelRatio()) : kFallbackColumns;
}

void ReadingChartView::thinAll() {
    m_grid = thinningGrid();
    for (int s = 0; s < m_kept.size(); ++s)
        m_kept[s] = thinToColumns(m_plotted[s], m_grid.lo, m_grid.hi, m_grid.columns);
    m_lines->setLines(m_kept, m_colors);
}

void ReadingChartView::frameLines() {
    const auto *x = static_cast<const QValueAxis *>(m_axisX);
    const auto *y = static_cast<const QValueAxis *>(m_axisY);
    m_lines->setFrame(m_chart->plotArea(), x->min(), x->max(), y->min(), y->max());
}

QLineSeries *ReadingChartView::addDataSeries(const QString &name, const QList<QPointF> &points) {
    auto *line = new QLineSeries;
    line->setName(name);
    line->setPointsVisible(m_markers);
    line->setMarkerSize(kMarkerSize);
    line->append(points);
    m_chart->addSeries(line);
    line->attachAxis(m_axisX);
    line->attachAxis(m_axisY);
    return line;
}

void ReadingChartView::showSet(const TChartSeriesSet &set) {
    // Taking the series out before they are deleted spares the chart a
    // relayout for each of them.
    if (m_chart->series().contains(m_highlight))
        m_chart->removeSeries(m_highlight);
    for (QLineSeries *series : m_series) {
        m_chart->removeSeries(series);
        delete series;
    }
    m_series.clear();
    m_names.clear();
    m_plotted.clear();
    m_kept.clear();

    const bool logArgument = set.argument() == TChartArgument::Frequency;
    // An empty chart starts from fresh axes rather than the last run's ranges.
    if (logArgument != m_logArgument || set.logValues() != m_logValues || set.pointCount() == 0)
        replaceAxes(logArgument, set.logValues());
    m_scale = set.valueScale();
    m_markers = set.pointCount() <= kMarkerLimit;
    // Lines a pixel apart gain nothing from smoothing but its cost. Without
    // markers only what changed is painted again.
    setRenderHint(QPainter::Antialiasing, m_markers);
    setViewportUpdateMode(m_markers ? QGraphicsView::FullViewportUpdate
                                    : QGraphicsView::MinimalViewportUpdate);
    // The axes take their final ranges first, so that no series added after
    // another makes the chart lay out the earlier ones again.
    fitAxes(set);
    for (const TChartSeries &series : set.series())
        m_names.append(series.Name);
    if (m_markers || int(m_names.size()) <= kLegendEntries)
        for (const TChartSeries &series : set.series())
            m_series.append(
                addDataSeries(series.Name, m_markers ? plottedPoints(series) : QList<QPointF>()));
    colorSeries();
    if (m_markers) {
        m_lines->clear();
    } else {
        for (const TChartSeries &series : set.series())
            m_plotted.append(plottedPoints(series));
        m_kept.resize(m_plotted.size());
        frameLines();
        thinAll();
    }

    m_chart->addSeries(m_highlight);
    m_highlight->attachAxis(m_axisX);
    m_highlight->attachAxis(m_axisY);
    for (QLegendMarker *marker : m_chart->legend()->markers(m_highlight))
        marker->setVisible(false);
    setHighlight(m_highlightPoint);
}

// The plotted points follow the edits; a series that only grew at its end
// is thinned again at its end, unless the plot's columns moved.
void ReadingChartView::followThinned(const TChartSeriesSet &set,
                                     const QVector<TSeriesEdit> &edits) {
    QVector<QPair<int, bool>> touched; // series, and whether it only grew at its end
    bool reshaped = false;
    for (const TSeriesEdit &e : edits) {
        if (e.kind == TSeriesEdit::AddSeries || e.kind == TSeriesEdit::RemoveSeries) {
            reshaped = true;
            if (e.kind == TSeriesEdit::AddSeries) {
                m_names.insert(e.series, e.name);
                m_plotted.insert(e.series, {});
                m_kept.insert(e.series, {});
            } else {
                m_names.remove(e.series);
                m_plotted.remove(e.series);
                m_kept.remove(e.series);
            }
            continue;
        }
        QList<QPointF> &points = m_plotted[e.series];
        bool atEnd = false;
        if (e.kind == TSeriesEdit::InsertPoint) {
            points.insert(e.point, plotted(e.value));
            atEnd = e.point == points.size() - 1;
        } else if (e.kind == TSeriesEdit::ReplacePoint) {
            points[e.point] = plotted(e.value);
        } else if (e.kind == TSeriesEdit::RemovePoint) {
            points.remove(e.point);
        }
        const auto seen =
            std::find_if(touched.begin(), touched.end(),
                         [&](const QPair<int, bool> &t) { return t.first == e.series; });
        if (seen == touched.end())
            touched.append({e.series, atEnd});
        else
            seen->second = false;
    }
    if (edits.isEmpty())
        return;
    if (reshaped) {
        // The colours spread over one series more or less, and the bar
        // shows them all: the chart is drawn afresh.
        colorSeries();
        fitAxes(set);
        thinAll();
        viewport()->update();
        return;
    }
    fitAxes(set);
    if (!(thinningGrid() == m_grid)) {
        thinAll();
        return;
    }
    for (const auto &[s, grewAtEnd] : std::as_const(touched)) {
        qsizetype unchanged = 0;
        if (grewAtEnd)
            unchanged =
                thinAppendedPoint(m_kept[s], m_plotted[s], m_grid.lo, m_grid.hi, m_grid.columns);
        else
            m_kept[s] = thinToColumns(m_plotted[s], m_grid.lo, m_grid.hi, m_grid.columns);
        m_lines->setLine(s, m_kept[s], unchanged);
    }
}

// Whether the edits keep the chart as it is drawn: a new unit prefix, or
// markers shown or hidden, take it from scratch, and so does a new series
// while Qt Charts' series stand for them, so that the legend stays in the
// order of the series. Thinned lines behind a colour bar have none.
bool ReadingChartView::followsInPlace(const TChartSeriesSet &set,
                                      const QVector<TSeriesEdit> &edits) const {
    if (set.valueScale() != m_scale || (set.pointCount() <= kMarkerLimit) != m_markers)
        return false;
    const bool reshaped = std::any_of(edits.cbegin(), edits.cend(), [](const TSeriesEdit &e) {
        return e.kind == TSeriesEdit::AddSeries || e.kind == TSeriesEdit::RemoveSeries;
    });
    return !reshaped || (!m_markers && m_colorBar && set.series().size() > kLegendEntries);
}

void ReadingChartView::applyEdits(const TChartSeriesSet &set, const QVector<TSeriesEdit> &edits) {
    if (!followsInPlace(set, edits)) {
        showSet(set);
        return;
    }
    if (!m_markers) {
        followThinned(set, edits);
        return;
    }
    for (const TSeriesEdit &e : edits) {
        QLineSeries *series = m_series[e.series];
        switch (e.kind) {
        case TSeriesEdit::InsertPoint:
            series->insert(e.point, plotted(e.value));
            break;
        case TSeriesEdit::ReplacePoint:
            series->replace(e.point, plotted(e.value));
            break;
        case TSeriesEdit::RemovePoint:
            series->remove(e.point);
            break;
        case TSeriesEdit::AddSeries:
        case TSeriesEdit::RemoveSeries:
            break;
        }
    }
    if (!edits.isEmpty())
        fitAxes(set);
}

// The series are of an ordered variable (frequencies, set points): their
// colours follow its order, and no two share one.
void ReadingChartView::colorSeries() {
    const QVector<TRgb> colors = orderedColors(int(m_names.size()));
    m_colors.clear();
    m_colors.reserve(colors.size());
    for (const TRgb &c : colors)
        m_colors.append(QColor(c.r, c.g, c.b));
    for (int i = 0; i < m_series.size(); ++i)
        m_series[i]->setColor(m_colors[i]);

    m_colorBar = m_names.size() > kLegendEntries;
    m_chart->legend()->setVisible(!m_colorBar);
    QMargins margins = kChartMargins;
    if (m_colorBar) {
        const QFontMetrics metrics(m_chart->legend()->font());
        int widest = 0;
        for (const QString &name : std::as_const(m_names))
            widest = std::max(widest, metrics.horizontalAdvance(name));
        margins.setRight(margins.right() + kBarGap + kBarWidth + kBarGap + widest);
    }
    m_chart->setMargins(margins);
}

// The bar runs along the plot's right edge, the first series at the bottom;
// its labels skip blocks where they would overlap, but never the ends. A
// repaint that leaves the bar and its labels alone does not draw them.
void ReadingChartView::drawForeground(QPainter *painter, const QRectF &rect) {
    QChartView::drawForeground(painter, rect);
    if (!m_colorBar || m_names.isEmpty())
        return;
    const QRectF plot = m_chart->mapToScene(m_chart->plotArea()).boundingRect();
    const QRectF bar(plot.right() + kBarGap, plot.top(), kBarWidth, plot.height());
    const double labelHeight = QFontMetricsF(m_chart->legend()->font()).height();
    const QRectF drawn(QPointF(bar.left(), bar.top() - labelHeight),
                       QPointF(sceneRect().right(), bar.bottom() + labelHeight));
    if (rect.intersects(drawn))
        drawColorBar(painter, bar);
}

void ReadingChartView::drawColorBar(QPainter *painter, const QRectF &bar) const {
    const int count = int(m_names.size());
    const double block = bar.height() / count;
    const QFontMetrics metrics(m_chart->legend()->font());
    const int every = std::max(1, int(std::ceil(metrics.height() / block)));

    painter->save();
    painter->setFont(m_chart->legend()->font());
    if (block >= 1) {
        for (int i = 0; i < count; ++i)
            painter->fillRect(
                QRectF(bar.left(), bar.bottom() - (i + 1) * block, bar.width(), block),
                m_colors[i]);
    } else {
        // A pixel row holds several series: it shows the one at its middle.
        for (double y = bar.top(); y < bar.bottom(); y += 1) {
            const int i = std::clamp(int((bar.bottom() - (y + 0.5)) / block), 0, count - 1);
            painter->fillRect(QRectF(bar.left(), y, bar.width(), std::min(1.0, bar.bottom() - y)),
                              m_colors[i]);
        }
    }
    painter->setPen(Qt::black);
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        if (i % every != 0 && !last)
            continue;
        if (!last && count - 1 - i < every && i != 0)
            continue; // the last one's label takes this place
        const double middle = bar.bottom() - (i + 0.5) * block;
        const QRectF label(bar.right() + kBarGap, middle - metrics.height() / 2.0,
                           metrics.horizontalAdvance(m_names[i]) + 2, metrics.height());
        painter->drawText(label, Qt::AlignLeft | Qt::AlignVCenter, m_names[i]);
    }
    painter->setPen(QPen(Qt::darkGray, 1));
    painter->drawRect(bar);
    painter->restore();
}

void ReadingChartView::setHighlight(std::optional<QPointF> point) {
    m_highlightPoint = point;
    // The ring reaches past the rectangle its series repaints.
    viewport()->update();
    if (point)
        m_highlight->replace(QList<QPointF>{plotted(*point)});
    else
        m_highlight->clear();
}

void ReadingChartView::fitAxes(const TChartSeriesSet &set) {
    const QString argumentTitle = quantitytext::argumentAxisTitle(set.argument());
    if (m_axisX->titleText() != argumentTitle)
        m_axisX->setTitleText(argumentTitle);
    const QString valueTitle = quantitytext::valueAxisTitle(set);
    if (m_axisY->titleText() != valueTitle)
        m_axisY->setTitleText(valueTitle);
    const std::optional<TChartSeriesSet::Bounds> b = set.bounds();
    if (!b)
        return;
    fitRange(m_axisX, b->xMin, b->xMax, m_separator);
    fitRange(m_axisY, b->yMin / m_scale.factor(), b->yMax / m_scale.factor(), m_separator);
    if (!m_markers)
        frameLines();
}
