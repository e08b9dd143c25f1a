#pragma once

#include "plot/chart_series.h"
#include "plot/unit_scale.h"

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QStringList>

#include <optional>

class QAbstractAxis;
class QChart;
class QLineSeries;
class QScatterSeries;
class ThinnedLinesItem;

// One chart of the chart window: a line with markers for each series of a
// TChartSeriesSet, values divided by the set's unit prefix, and a ring round
// the point of the cell selected in the grid. A set too large for markers is
// drawn as plain lines thinned to the plot's pixel columns, each column
// keeping its lowest and highest value, by an item of its own rather than
// Qt Charts' series (a run against the frequency has a series per set
// point, ten thousand in a long run); the set itself stays whole. Such a
// set is followed at the cost of what changed: a point added at the end of a
// series looks again at the end of its thinned line only.
class ReadingChartView : public QChartView {
    Q_OBJECT
public:
    // Axis labels are written with this decimal separator.
    explicit ReadingChartView(QChar decimalSeparator, QWidget *parent = nullptr);

    // Shows the set from scratch.
    void showSet(const TChartSeriesSet &set);
    // Follows a set that `edits` changed since it was shown last.
    void applyEdits(const TChartSeriesSet &set, const QVector<TSeriesEdit> &edits);
    // The point (in base units) of the selected cell; nullopt for none.
    void setHighlight(std::optional<QPointF> point);

    // The drawn series in the set's order: their names and colours.
    int seriesCount() const { return int(m_names.size()); }
    const QString &seriesName(int series) const { return m_names.at(series); }
    QColor seriesColor(int series) const { return m_colors.at(series); }
    // The points of a drawn series as values: x as given, y divided by the
    // prefix; those kept by the thinning when it thins.
    QList<QPointF> shownPoints(int series) const;
    // Many series show a colour bar in place of the legend, which would cut
    // them off; every series has its block in it, or, more series than the
    // bar has pixels, each pixel row the colour of the series at its height.
    bool showsColorBar() const { return m_colorBar; }
    // A logarithmic axis draws the decimal logarithm of its values.
    bool logArgument() const { return m_logArgument; }
    bool logValues() const { return m_logValues; }
    const plotunits::TUnitScale &valueScale() const { return m_scale; }
    std::optional<QPointF> highlightedPoint() const;

protected:
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    void replaceAxes(bool logArgument, bool logValues);
    void fitAxes(const TChartSeriesSet &set);
    QLineSeries *addDataSeries(const QString &name, const QList<QPointF> &points);
    QList<QPointF> plottedPoints(const TChartSeries &series) const;
    // The pixel columns of the plot over the horizontal axis's range.
    struct ThinningGrid {
        double lo = 0, hi = 0;
        int columns = 0;
        bool operator==(const ThinningGrid &o) const {
            return lo == o.lo && hi == o.hi && columns == o.columns;
        }
    };
    ThinningGrid thinningGrid() const;
    void thinAll();
    // The thinned lines follow the plot area and the axes' ranges.
    void frameLines();
    void followThinned(const TChartSeriesSet &set, const QVector<TSeriesEdit> &edits);
    bool followsInPlace(const TChartSeriesSet &set, const QVector<TSeriesEdit> &edits) const;
    int plotColumns() const;
    QPointF plotted(const QPointF &p) const;
    void colorSeries();
    void drawColorBar(QPainter *painter, const QRectF &bar) const;

    QChart *m_chart;
    // Qt Charts' own series: each with its markers, or, thinned, empty ones
    // that name the lines in the legend; none behind a colour bar.
    QList<QLineSeries *> m_series;
    QStringList m_names;
    QList<QColor> m_colors;
    // While thinned: each series' points as plotted, and what of them is drawn.
    QList<QList<QPointF>> m_plotted;
    QList<QList<QPointF>> m_kept;
    ThinningGrid m_grid;
    ThinnedLinesItem *m_lines;
    QScatterSeries *m_highlight;
    QChar m_separator;
    QAbstractAxis *m_axisX = nullptr;
    QAbstractAxis *m_axisY = nullptr;
    bool m_logArgument = false;
    bool m_logValues = false;
    bool m_markers = true;
    bool m_colorBar = false;
    plotunits::TUnitScale m_scale;
    std::optional<QPointF> m_highlightPoint;
};
