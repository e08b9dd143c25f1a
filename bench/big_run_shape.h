// The shape of the big run the chart and analysis benchmarks measure: 10 000
// set points at 20 frequencies spanning the meter's range.
#pragma once

#include <QChar>

namespace bigrun {

constexpr int kSetPoints = 10000;
constexpr int kFrequencies = 20;
const QChar kComma = QLatin1Char(',');
const int kHz[kFrequencies] = {25,    50,    100,   200,    300,    500,    1000,
                               2000,  3000,  5000,  10000,  20000,  30000,  50000,
                               60000, 70000, 80000, 100000, 200000, 1000000};

} // namespace bigrun
