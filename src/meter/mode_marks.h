#pragma once

#include <array>
#include <cstdint>
#include <utility>

// The meter's mode marks F1..F4 as a frame carries them: one bit each in
// byte 20 of the frame (and of a meter record's RawData).
namespace modemarks {
constexpr int kByte = 20;
// Mark number and its bit.
constexpr std::array<std::pair<int, uint8_t>, 4> kBits = {{{1, 8}, {2, 1}, {3, 4}, {4, 2}}};

template <typename Raw> constexpr bool isOn(const Raw &raw, int mark) {
    for (const auto &[number, bit] : kBits)
        if (number == mark)
            return (raw[kByte] & bit) != 0;
    return false;
}
} // namespace modemarks
