#pragma once

#include "material/sample.h"
#include "plot/activation_fit.h"
#include "plot/cole_cole.h"
#include "plot/relaxation_peaks.h"
#include "plot/run_readings.h"

#include <QVector>

#include <optional>

// The per-cell quantity whose peaks the analysis looks for.
enum class TRelaxationQuantity {
    Main,        // the main parameter as measured
    Secondary,   // the secondary parameter as measured (D, Q, ...)
    TanDelta,    // G / B of the admittance behind the displayed pair
    EpsReal,     // with a sample: eps'
    EpsImag,     // with a sample: eps''
    ModulusImag, // with a sample: M''
};

// Whether a quantity needs the sample's empty-cell capacitance.
bool needsSample(TRelaxationQuantity quantity);

// The quantity of one recorded reading; NaN when the reading does not fix it
// (no value, a pair that fixes no admittance, no sample for eps and M).
double cellQuantity(const TPlotReading &reading, TRelaxationQuantity quantity,
                    const std::optional<TSampleCell> &cell);

// The newest reading of every cell as one series per frequency (ascending),
// x the actual temperature in °C and y the quantity; cells without either are left out.
QVector<TChartSeries> quantitySeries(const TRunReadings &readings, TRelaxationQuantity quantity,
                                     const std::optional<TSampleCell> &cell);

// Peaks of every frequency and the two fits of the usable ones.
struct TRelaxationAnalysis {
    QVector<TRelaxationPeak> Peaks;
    QVector<TPeakPoint> Usable;
    TArrheniusFit Arrhenius;
    TVogelFulcherFit VogelFulcher;
};

TRelaxationAnalysis analyseRun(const TRunReadings &readings, TRelaxationQuantity quantity,
                               const std::optional<TSampleCell> &cell);

// The peaks of the main and secondary parameters as measured, of tan delta
// and, with a sample, of eps', eps'' and M'', as comma-separated UTF-8 with
// "." for data tools, beside the per-reading export:
// a header line, then quantity, frequency, T_m in °C and K, value and whether
// the peak lies inside the run, one line per frequency and quantity.
QByteArray peaksCsv(const TRunReadings &readings, const std::optional<TSampleCell> &cell);

// The Cole-Cole points of one grid row (set point), one per frequency: with a
// sample eps'' against eps' (or M'' against M'); without one the complex
// capacitance C'' = G / w against C' = B / w, which has the same shape.
QVector<TColeColePoint> coleColeOfRow(const TRunReadings &readings, int32_t row, bool modulus,
                                      const std::optional<TSampleCell> &cell);
