#pragma once

#include <QVector>

#include <cstdint>

// What a run is asked to measure, as values rather than the texts of a form.
struct RunParameters {
    double TempInit = 20.0;
    double TempFinal = 25.0;
    double TempStep = 1.0;        // its sign is not used
    double TempDiff = 0.3;        // how close a temperature must be to its set point
    QVector<int32_t> Frequencies; // Hz, left to right
    int SkipCount = 6;            // meter frames that settle after a key before one counts
};

// The most frames a run may let settle (the count is kept in a byte).
constexpr int kMaxSkipCount = 255;
