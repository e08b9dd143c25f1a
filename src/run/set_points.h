#pragma once

#include "run/temp_storage.h"

#include <QChar>
#include <QString>
#include <QVector>

#include <array>

// Header cells (0,0) and (1,0) of the results grid; the grid shows ";" as a line break.
inline constexpr char kSetPointHeaderText[] = "Расчетная;------------;Температура";
inline constexpr char kActualTempHeaderText[] = "Частоты F;------------;Т. факт";

// Frequencies placed into the header row of a new five-column table, in hertz.
inline constexpr std::array<int, 5> kDefaultFrequencies = {100, 1000, 5000, 10000, 100000};

// Upper bound on the rows of one table, so a mistyped step cannot exhaust memory.
inline constexpr int kMaxSetPoints = 100000;

enum class SetPointError {
    None,
    ZeroStep,
    StepNotFinite,
    BoundsNotFinite,
    SetPointNotFinite,
    TooManySetPoints,
};

// One row of the set-point column.
struct SetPointRow {
    int row = 0;        // grid row, from 1
    double value = 0.0; // set point, °C
    QString text;       // the value in the four-digit format
    bool stored = false;
};

struct SetPointTable {
    SetPointError error = SetPointError::None;
    QVector<SetPointRow> rows; // empty when refused
};

// Generates the set points from `tempInit` towards `tempFinal` in steps of
// |tempStep| (its sign is ignored) and fills `storage`: it is cleared, its four
// parameters are set to the values given, the first set point is always stored
// and every later one only when it lies in the table's range (tolerance
// `tempDiff`). The last row is the first value that reaches or passes
// `tempFinal`, or prints like it, and there is always a second row. The k-th
// set point is tempInit + k * step, so no rounding error accumulates.
// A zero or non-finite step, non-finite bounds, a set point that overflows to
// infinity (bounds near the largest double and a step of their size) or more
// than kMaxSetPoints rows are refused: no rows, no items, the parameters still set.
SetPointTable generateSetPoints(double tempInit, double tempFinal, double tempStep, double tempDiff,
                                QChar decimalSeparator, TTempStorage &storage);
