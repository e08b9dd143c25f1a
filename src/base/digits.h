#pragma once

#include <QString>

#include <cstdint>

// The decimal digits of a text read as one number, everything else ignored:
// "COM12" and " COM 12" give 12. No digits, or a number beyond int32, give -1.
int32_t DigitsToInt(const QString &text);
