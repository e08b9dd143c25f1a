#pragma once

#include "plot/chart_quantity.h"
#include "plot/chart_series.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

// The Russian names of what a chart can show, and why it shows nothing for some cells.
namespace quantitytext {

// As the chart's list offers it: "ε″ — коэффициент потерь"; empty for a
// quantity that has no title here yet.
QString title(TChartQuantity quantity);
// The titles of a chart's axes: what its series set shows, or the
// quantity's title while it has no point; "Температура, °C" or "Частота, Hz".
QString valueAxisTitle(const TChartSeriesSet &set);
QString argumentAxisTitle(TChartArgument argument);
// The charts' title: the sample and the day the run's first reading was
// recorded ("Образец 3, измерения 05.03.2024 09:15"); the sample alone before one.
QString chartTitle(const QString &sample, const std::optional<QDateTime> &firstReading);
// One sentence for a chart of `quantity`; empty when every cell has a value.
QString gapsNote(TChartQuantity quantity, bool sampleKnown, const QVector<TQuantityGap> &gaps);

} // namespace quantitytext
