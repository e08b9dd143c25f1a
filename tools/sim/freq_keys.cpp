#include "freq_keys.h"

#include <algorithm>

namespace {

// Step of a fine key inside the range [lo, hi]: the ranges below 1 kHz step by
// one hertz, the ones above by one kilohertz.
int rangeStep(int lo) {
    return lo < 1000 ? 1 : 1000;
}

} // namespace

const std::array<int, 17> &FrequencyBounds() {
    static const std::array<int, 17> bounds = {25,    50,     60,     100,    120,    200,
                                               500,   1000,   2000,   5000,   10000,  20000,
                                               50000, 100000, 200000, 500000, 1000000};
    return bounds;
}

int ApplyFrequencyKey(int freq, uint8_t key) {
    const auto &b = FrequencyBounds();
    const int f = std::clamp(freq, kMinFrequencyHz, kMaxFrequencyHz);
    switch (key) {
    case simkey::Right: {
        auto it = std::upper_bound(b.begin(), b.end(), f);
        return it == b.end() ? b.back() : *it;
    }
    case simkey::Left: {
        auto it = std::lower_bound(b.begin(), b.end(), f);
        return it == b.begin() ? b.front() : *(it - 1);
    }
    case simkey::Up: {
        // The range that starts at or below f and ends above it.
        auto hi = std::upper_bound(b.begin(), b.end(), f);
        if (hi == b.end())
            return f;
        return std::min(f + rangeStep(*(hi - 1)), kMaxFrequencyHz);
    }
    case simkey::Down: {
        // The range that starts below f and ends at or above it.
        auto hi = std::lower_bound(b.begin(), b.end(), f);
        if (hi == b.begin())
            return f;
        return std::max(f - rangeStep(*(hi - 1)), kMinFrequencyHz);
    }
    default:
        return freq;
    }
}

bool IsMeterFrequency(int hz) {
    if (hz < kMinFrequencyHz || hz > kMaxFrequencyHz)
        return false;
    return hz < 1000 || hz % 1000 == 0;
}
