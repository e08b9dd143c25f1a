#pragma once

#include "meter/key_codes.h"

#include <array>
#include <cstdint>
#include <optional>

// The meter keys by the role they play in a frequency change.
namespace freqkeys {
constexpr uint8_t CoarseUp = meterkey::Right;  // to the next higher range bound
constexpr uint8_t FineDown = meterkey::Down;   // one step of the range down
constexpr uint8_t FineUp = meterkey::Up;       // one step of the range up
constexpr uint8_t CoarseDown = meterkey::Left; // to the next lower range bound
constexpr uint8_t F3 = meterkey::F3; // pressed before a change when the meter is not in F3 mode
} // namespace freqkeys

// One frequency range of the meter: the fine keys move by Step inside Lo .. Hi.
struct TFreqRange {
    int32_t Lo = 0;
    int32_t Hi = 0;
    int32_t Step = 0;
};

// The meter's range table, ascending, each Hi equal to the next Lo.
// Starts zeroed; Ready becomes 1 once FillRanges has written the table.
struct TFreqWorker {
    std::array<TFreqRange, 16> Ranges{};
    int32_t RangeCount = 0;
    int32_t HalfCount = 0;
    int32_t Ready = 0;
};

// Writes the meter's sixteen ranges (25 Hz .. 1 MHz), RangeCount 16,
// HalfCount 8 and Ready 1.
void FillRanges(TFreqWorker &worker);

// The range bound nearest to f, a tie going to the lower bound; 0 when f lies
// outside 25 .. 1000000. A shared bound belongs to the lower range. Fills the
// table first when it is not ready.
int32_t NearestBound(TFreqWorker &worker, int32_t f);

// The coarse key that moves `current` towards `waypoint`; none when they are equal.
std::optional<uint8_t> CoarseKey(int32_t current, int32_t waypoint);

// The fine key that moves `current` towards `target`: down when the target is
// below, up otherwise.
uint8_t FineKey(int32_t current, int32_t target);
