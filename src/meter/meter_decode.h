#pragma once

#include "base/event_rec.h"

#include <QChar>

#include <array>
#include <cstdint>

// Turns the raw bytes of a meter record (a display frame without its checksum
// byte, zero padded to 60 bytes) into the display texts. Numbers are written
// with the given decimal separator. Never fails: a code the meter is not known
// to send leaves the fields it would fill empty, and a frequency too large for
// FreqHz gives FreqHz 0, the value that stands for "frequency unknown".
TIMPacket DecodeMeterPacket(const std::array<uint8_t, 60> &raw, QChar decimalSeparator);
