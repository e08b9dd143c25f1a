#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The decimal digits of a text read as one number, everything else ignored:
// "COM12" and " COM 12" give 12. No digits, or a number beyond int32, give -1.
int32_t DigitsToInt(const QString &text);

// A bit rate as the port settings give it: a whole decimal number above zero,
// nothing else in the text. Nothing when the text is not one.
std::optional<int> ReadBitRate(const QString &text);
