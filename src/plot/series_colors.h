#pragma once

#include <QVector>

#include <cstdint>

// Colours for the series of an ordered variable (frequencies, set points):
// from cold violet and blue through green and orange to dark red, so that the order of
// the series reads from their colours and no two share one.
struct TRgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const TRgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

// `count` colours, the first for the lowest value, at equal steps of
// perceived colour along the map; all dark enough to read on white.
QVector<TRgb> orderedColors(int count);
