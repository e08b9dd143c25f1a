#pragma once

#include "plot/chart_quantity.h"
#include "plot/run_readings.h"
#include "plot/unit_scale.h"

#include <QChar>
#include <QHash>
#include <QPointF>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// What the horizontal axis of the charts shows: the actual temperature (one
// series per frequency) or the frequency (one series per set point).
enum class TChartArgument { Temperature, Frequency };

struct TSeriesPoint {
    quint64 Order = 0; // position along the series: by row, or by frequency
    TCellKey Cell = 0;
    QPointF Value; // x in °C or Hz, y in the base unit
};

struct TChartSeries {
    qint64 Group = 0; // the frequency in Hz, or the grid row of the set point
    QString Name;     // as the legend shows it
    QVector<TSeriesPoint> Points;
};

// One change of a series set. Positions are those at the moment of the
// change, so a view that applies the changes in order stays equal to the set.
struct TSeriesEdit {
    enum Kind { AddSeries, RemoveSeries, InsertPoint, ReplacePoint, RemovePoint };
    Kind kind = InsertPoint;
    int series = 0;
    int point = 0;
    QPointF value; // of a point
    QString name;  // of an added series
};

// The series of one chart: the newest reading of each cell is one point of
// the series of its frequency (or set point), in the order of the rows (or
// frequencies). A cell recorded again moves its point. Points that cannot be
// drawn are left out: an unknown value or temperature, and on a logarithmic
// value axis a value that is not positive.
class TChartSeriesSet {
public:
    TChartSeriesSet(TChartQuantity quantity, TChartArgument argument, bool logValues,
                    QChar decimalSeparator);

    TChartQuantity quantity() const { return m_quantity; }
    // The run's sample, for the quantities that need it; set before rebuild().
    void setSampleCell(const std::optional<TSampleCell> &cell) { m_cell = cell; }
    TChartArgument argument() const { return m_argument; }
    bool logValues() const { return m_logValues; }

    // Builds the series from the newest reading of every cell.
    void rebuild(const TRunReadings &readings);
    // Follows one recorded reading of the readings the set was built from
    // (or followed since it was empty); returns what changed.
    QVector<TSeriesEdit> apply(const TRunReadings &readings, const TReadingUpdate &update);

    // Sorted by group: ascending frequencies, or rows.
    const QVector<TChartSeries> &series() const { return m_series; }
    int pointCount() const { return m_pointCount; }
    // Where the point of a cell of those readings is drawn, if it is.
    std::optional<QPointF> pointOf(const TRunReadings &readings, TCellKey cell) const;

    // Bounds of the drawn points; nullopt while there are none.
    struct Bounds {
        double xMin, xMax, yMin, yMax;
    };
    std::optional<Bounds> bounds() const;

    // The prefix the value axis uses: chosen from the values' range, none for
    // dimensionless quantities.
    plotunits::TUnitScale valueScale() const;
    // "Cp, nF"; several quantities on one chart are joined by " / ". Empty
    // while a displayed quantity, which has no symbol of its own, has no point.
    QString valueTitle() const;

private:
    // Where a reading is drawn follows from the reading alone, so a cell's
    // point is found again from its newest reading rather than kept per cell.
    struct Drawn {
        qint64 group;
        quint64 order;
        QPointF value;
    };
    std::optional<Drawn> drawnOf(const TPlotReading &reading) const;
    QString seriesName(const TPlotReading &reading) const;
    int seriesIndex(qint64 group) const; // position of the first series not below group
    void removePoint(const Drawn &at, QVector<TSeriesEdit> &edits);
    void insertPoint(TCellKey cell, const Drawn &drawn, const TPlotReading &reading,
                     QVector<TSeriesEdit> &edits);
    void countQuantity(const TPlotReading &reading, int delta);
    void countQuantity(const QString &name, const QString &unit, int delta);
    void widenBounds(const QPointF &p);
    void touchBounds(const QPointF &p);
    void recomputeBounds() const;

    TChartQuantity m_quantity;
    std::optional<TSampleCell> m_cell;
    TChartArgument m_argument;
    bool m_logValues;
    QChar m_separator;
    QVector<TChartSeries> m_series;
    int m_pointCount = 0;
    // Drawn points per quantity, for the axis title.
    struct Quantity {
        QString name;
        QString unit;
        int count;
    };
    QVector<Quantity> m_quantities;
    mutable std::optional<Bounds> m_bounds;
    mutable bool m_boundsStale = false;
};
