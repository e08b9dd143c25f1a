#pragma once

#include <array>
#include <cstdint>

// One-byte key codes the meter takes from the serial line.
namespace simkey {
constexpr uint8_t Menu = 0;
constexpr uint8_t Right = 1; // ">"
constexpr uint8_t Z = 2;
constexpr uint8_t R = 3;
constexpr uint8_t Down = 4; // "v"
constexpr uint8_t Enter = 5;
constexpr uint8_t Up = 6; // "^"
constexpr uint8_t L = 7;
constexpr uint8_t XX = 8;
constexpr uint8_t Left = 9; // "<"
constexpr uint8_t I = 10;
constexpr uint8_t C = 11;
constexpr uint8_t F4 = 12;
constexpr uint8_t F3 = 13;
constexpr uint8_t F2 = 14;
constexpr uint8_t F1 = 15;
} // namespace simkey

constexpr int kMinFrequencyHz = 25;
constexpr int kMaxFrequencyHz = 1000000;

// The frequencies the coarse keys step between, ascending.
const std::array<int, 17> &FrequencyBounds();

// The meter's frequency after one press of a frequency key (with the F3 mark on).
// ">" and "<" go to the next higher or lower bound. "^" and "v" add or take the step
// of the range the move happens in: 1 Hz between 25 and 1000 Hz, 1000 Hz from 1000 Hz
// up. Choosing the range by direction keeps the frequency on the meter's grid: from
// 1000 Hz "^" gives 2000 and "v" gives 999, from 120 "^" gives 121, from 2000 "^"
// gives 3000. The result stays within 25..1000000; any other key returns freq as is.
int ApplyFrequencyKey(int freq, uint8_t key);

// Whether the meter can show this frequency: 25..999 Hz in hertz, or whole kilohertz.
bool IsMeterFrequency(int hz);
