#pragma once

#include <QVector>

#include <cstdint>

// One temperature set point of the results table and the grid row it fills.
struct TTempItem {
    double SetPoint = 0.0;
    int32_t Row = 0;   // 1-based grid row; row 0 is the header
    int32_t Index = 0; // position in TTempStorage::Items, -1 for "no set point"
};

using TTempArr = QVector<TTempItem>;

// The set points of the prepared table and its temperature parameters. Answers
// whether a measured temperature belongs to the table and to which row.
struct TTempStorage {
    TTempArr Items;
    double TempInit = 0.0;
    double TempFinal = 0.0;
    double TempStep = 0.0; // as typed; its sign is not used here
    double TempDiff = 0.0;

    // Removes the items; the four parameters stay.
    void Clear();
    // Appends a copy whose Index is its position (the Index passed in is ignored).
    void Add(const TTempItem &item);
    int Count() const;
    // Whether t lies in the table's range widened by TempDiff (bounds inclusive).
    // A table with equal initial and final temperatures accepts the band
    // TempInit - TempDiff .. TempInit + TempDiff. An unknown (NaN) t is never in range.
    bool InRange(double t) const;
    // The first item whose set point lies strictly closer than TempDiff to t;
    // otherwise an item with Index -1 (also for an unknown t).
    TTempItem FindTemp(double t) const;
};
