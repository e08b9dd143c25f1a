#pragma once

#include <cstdint>

// The one-byte codes of the meter's keys.
namespace meterkey {
constexpr uint8_t Menu = 0;
constexpr uint8_t Right = 1;
constexpr uint8_t Z = 2;
constexpr uint8_t R = 3;
constexpr uint8_t Down = 4;
constexpr uint8_t Enter = 5;
constexpr uint8_t Up = 6;
constexpr uint8_t L = 7;
constexpr uint8_t XX = 8;
constexpr uint8_t Left = 9;
constexpr uint8_t I = 10;
constexpr uint8_t C = 11;
constexpr uint8_t F4 = 12;
constexpr uint8_t F3 = 13;
constexpr uint8_t F2 = 14;
constexpr uint8_t F1 = 15;

// The keys that move the meter's frequency while its F3 mark is on.
constexpr bool isFrequencyKey(uint8_t code) {
    return code == Right || code == Down || code == Up || code == Left;
}
} // namespace meterkey
