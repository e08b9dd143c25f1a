#include "material/dielectric.h"
#include "meter/meter_tables.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace metertables;

struct Reading {
    TMeterPair pair;
    double frequencyHz;
};

// A run of 10 000 set points by 20 frequencies, every cell read as `pair`
// kinds in turn: Cp with D only, or a mix of parallel, series and polar pairs.
std::vector<Reading> run(bool mixed) {
    const uint8_t kinds[][2] = {{kCpCode, kDissipationCode},
                                {kCsCode, kRsCode},
                                {kImpedanceCode, kPhaseCode},
                                {kRpCode, kQualityCode}};
    const double values[][2] = {{1.2E-10, 0.012}, {1.2E-10, 3.3E3}, {1.3E6, -88.5}, {2.0E8, 80}};
    std::vector<Reading> readings;
    readings.reserve(10000 * 20);
    for (int row = 0; row < 10000; ++row) {
        for (int col = 0; col < 20; ++col) {
            const int kind = mixed ? (row + col) % 4 : 0;
            const double drift = 1.0 + 1E-4 * row;
            readings.push_back(
                {{kinds[kind][0], values[kind][0] * drift, kinds[kind][1], values[kind][1]},
                 100.0 * std::pow(1.5, col)});
        }
    }
    return readings;
}

void BM_DerivedValuesOfARun(benchmark::State &state) {
    const std::vector<Reading> readings = run(state.range(0) != 0);
    const TSampleCell cell{7.0E-13, 8.8541878128E-12 / 7.0E-13};
    std::vector<TMaterialValues> out(readings.size());
    for (auto _ : state) {
        for (size_t i = 0; i < readings.size(); ++i)
            materialValues(readings[i].pair, readings[i].frequencyHz, cell, &out[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = double(readings.size());
}
// Arg 0: every cell Cp with D; 1: four kinds of pair in turn.
BENCHMARK(BM_DerivedValuesOfARun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
