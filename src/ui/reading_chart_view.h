#pragma once

#include "plot/chart_series.h"
#include "plot/unit_scale.h"

#include <QChartView>
#include <QList>
#include <QPointF>

#include <optional>

class QAbstractAxis;
class QChart;
class QLineSeries;
class QScatterSeries;
class QXYSeries;
class ThinnedLinesItem;

// One chart of the chart window: a line with markers for each series of a
// TChartSeriesSet, values divided by the set's unit prefix, and a ring round
// the point of the cell selected in the grid. A set too large for markers is
// drawn as plain lines thinned to the plot's pixel columns, each column
// keeping its lowest and highest value; the set itself stays whole. Such a
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

    // The drawn series in the set's order, and the values' unit prefix.
    // A logarithmic axis draws the decimal logarithm of its values.
    QList<QXYSeries *> dataSeries() const;
    // The points of a drawn series as values: x as given, y divided by the
    // prefix; those kept by the thinning when it thins (the series itself
    // then holds none: it names the line in the legend, which another item draws).
    QList<QPointF> shownPoints(int series) const;
    // Many series show a colour bar in place of the legend, which would cut
    // them off; every series has its block in it.
    bool showsColorBar() const { return m_colorBar; }
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
    int plotColumns() const;
    QPointF plotted(const QPointF &p) const;
    void colorSeries();

    QChart *m_chart;
    QList<QLineSeries *> m_series;
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
