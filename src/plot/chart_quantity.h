#pragma once

#include "material/admittance.h"
#include "material/sample.h"
#include "plot/run_readings.h"

#include <QString>
#include <QVector>

#include <optional>

// Which value of a reading a chart shows: one of the two parameters as the
// meter displayed them, or what the reading says about the material. Those
// but tan delta need the run's sample.
enum class TChartQuantity { Main, Secondary, EpsReal, EpsImag, TanDelta, Sigma, ModulusImag };

// Every quantity, in the order a chart offers them.
const QVector<TChartQuantity> &chartQuantities();
bool quantityNeedsSample(TChartQuantity quantity);
// Whether a logarithmic value axis is offered: not for eps', which spans
// little and turns negative in an inductive reading.
bool quantityOffersLogScale(TChartQuantity quantity);
// The symbol and the SI unit an axis shows, for the quantities the program
// works out ("ε″", ""; "σ′", "S/m"); empty for the two displayed ones.
QString quantitySymbol(TChartQuantity quantity);
QString quantityUnit(TChartQuantity quantity);
// A stable name for files that keep a choice ("eps_imag"), and back.
QString quantityKey(TChartQuantity quantity);
std::optional<TChartQuantity> quantityOfKey(const QString &key);

// The quantity of one reading; NaN when the reading does not give it. `why`,
// when given, is set to the pair's problem when that is the reason.
double quantityValue(const TPlotReading &reading, TChartQuantity quantity,
                     const std::optional<TSampleCell> &cell, TPairProblem *why = nullptr);

// Why readings give no value of a quantity: one entry per kind of pair, with
// how many cells it leaves out.
struct TQuantityGap {
    TPairProblem Problem = TPairProblem::None;
    QString MainName;
    QString SecName;
    int Cells = 0;
};
// Of the newest reading of every cell; none for the two displayed quantities.
QVector<TQuantityGap> quantityGaps(const TRunReadings &readings, TChartQuantity quantity,
                                   const std::optional<TSampleCell> &cell);
