#pragma once

#include "meter/key_codes.h"

#include <array>
#include <cstdint>

// The meter's key codes are the wire format both ends share.
namespace simkey = meterkey;

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
