// The analysis of a run of 10 000 set points x 20 frequencies (200 000 cells,
// the loss of a thermally activated relaxation peaking inside the range at
// every frequency): the peak of each frequency, the Arrhenius and the
// Vogel-Fulcher fit, from the series the chart already holds and, for a past
// run, from its readings.
#include "base/number_format.h"
#include "plot/activation_fit.h"
#include "plot/chart_series.h"
#include "plot/relaxation_peaks.h"
#include "plot/run_readings.h"

#include "big_run_shape.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using bigrun::kComma;
using bigrun::kFrequencies;
using bigrun::kHz;
using bigrun::kSetPoints;

// D of a Debye relaxation with E = 0.8 eV: 25 Hz peaks near -43 °C, 1 MHz near 39 °C.
double lossAt(double celsius, double hz) {
    const double tau = 1.5E-20 * std::exp(0.8 / (kBoltzmannEvPerK * (celsius + kZeroCelsiusK)));
    const double wt = 2 * M_PI * hz * tau;
    return wt / (1 + wt * wt);
}

TRunReadings fullRun() {
    TRunReadings readings(kComma);
    TJournalReading r;
    r.Time = QDateTime::currentDateTime();
    r.Frame = QByteArray(21, char(0x11));
    r.MainName = QStringLiteral("Cp");
    r.MainUnit = QStringLiteral("nF");
    r.MainBase = QStringLiteral("1E-9");
    r.SecName = QStringLiteral("D");
    r.SecUnit = QStringLiteral("  ");
    for (int t = 0; t < kSetPoints; ++t) {
        for (int f = 0; f < kFrequencies; ++f) {
            r.Row = t + 1;
            r.Col = f + 2;
            r.TempIndex = t;
            r.FreqIndex = f;
            r.SetPoint = -50 + t * 0.01;
            r.Temperature = r.SetPoint + 0.001 * (f - 10);
            r.FrequencyHz = kHz[f];
            r.SecBase = numfmt::general(lossAt(r.Temperature, r.FrequencyHz), kComma);
            readings.add(r);
        }
    }
    return readings;
}

const TRunReadings &run() {
    static const TRunReadings readings = fullRun();
    return readings;
}

void analyse(const TChartSeriesSet &chart, benchmark::State &state) {
    const QVector<TPeakPoint> peaks = usablePeaks(findPeaks(chart.series()));
    const TArrheniusFit arrhenius = fitArrhenius(peaks);
    const TVogelFulcherFit vogelFulcher = fitVogelFulcher(peaks);
    benchmark::DoNotOptimize(arrhenius.ActivationEv);
    benchmark::DoNotOptimize(vogelFulcher.FreezingK);
    state.counters["peaks"] = double(peaks.size());
    state.counters["E_eV"] = arrhenius.ActivationEv;
}

void BM_AnalysisOfTheChartsSeries(benchmark::State &state) {
    TChartSeriesSet chart(*TChartQuantity::ofKey("secondary"), TChartArgument::Temperature, false,
                          kComma);
    chart.rebuild(run());
    for (auto _ : state)
        analyse(chart, state);
}
BENCHMARK(BM_AnalysisOfTheChartsSeries)->Unit(benchmark::kMillisecond);

void BM_AnalysisOfAPastRun(benchmark::State &state) {
    for (auto _ : state) {
        TChartSeriesSet chart(*TChartQuantity::ofKey("secondary"), TChartArgument::Temperature,
                              false, kComma);
        chart.rebuild(run());
        analyse(chart, state);
    }
}
BENCHMARK(BM_AnalysisOfAPastRun)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
