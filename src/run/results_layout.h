#pragma once

// Where the results table's parts sit in the grid that shows it: column 0
// the set points, column 1 the actual temperatures, then one column per
// frequency; row 0 the headers, then one row per set point.
namespace resultslayout {
constexpr int kSetPointColumn = 0;
constexpr int kActualTemperatureColumn = 1;
constexpr int kFirstFrequencyColumn = 2;
constexpr int kHeaderRow = 0;
constexpr int kFirstSetPointRow = 1;

constexpr int columnOfFrequency(int frequencyIndex) {
    return kFirstFrequencyColumn + frequencyIndex;
}
constexpr int rowOfSetPoint(int setPointIndex) {
    return kFirstSetPointRow + setPointIndex;
}
} // namespace resultslayout
