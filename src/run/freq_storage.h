#pragma once

#include <QVector>

#include <cstdint>

// One test frequency of the run and the grid column that receives its readings.
struct TFreqItem {
    int32_t Freq = 0;  // Hz
    int32_t Col = 0;   // grid column, 2 .. N+1
    int32_t Index = 0; // position in TFreqStorage::Items, -1 for "no frequency"
};

using TFreqArr = QVector<TFreqItem>;

// The run's test frequencies in column order.
struct TFreqStorage {
    TFreqArr Items;

    void Clear();
    // Appends a copy whose Index is its position (the Index passed in is ignored).
    void Add(const TFreqItem &item);
    int Count() const;
    bool Contains(int32_t f) const;
    // The item with Freq f (the last one when several match); otherwise an
    // item with Freq 0, Col 0 and Index -1.
    TFreqItem FindFreq(int32_t f) const;
    // The first frequency above f; past the highest it wraps to the first item.
    // An empty storage gives 0.
    int32_t NextFreq(int32_t f) const;
};
