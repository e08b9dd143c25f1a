#pragma once

#include <QByteArray>

#include <cstdint>

// A measured value as the meter's display carries it: a signed mantissa (24 bits on
// the wire) and an exponent code that names the prefix and the digits before the point.
struct MeterValue {
    int32_t mantissa = 0;
    uint8_t exponentCode = 253; // blank prefix
};

// Everything one display frame says, in wire units.
struct MeterDisplayState {
    uint16_t offsetCentivolts = 0;
    uint8_t levelCentivolts = 100;
    uint16_t frequencyMantissa = 1;
    uint8_t frequencyExponent = 3; // 0 Hz, 3 kHz, 6 MHz
    bool autoRange = true;
    uint8_t unused8 = 0;
    uint8_t rangeCode = 4;
    uint8_t mainCode = 0;
    uint8_t secondaryCode = 13;
    MeterValue main;
    MeterValue secondary;
    uint8_t modeMarks = 0; // F1 8, F2 1, F3 4, F4 2
};

namespace simmark {
constexpr uint8_t F1 = 8;
constexpr uint8_t F2 = 1;
constexpr uint8_t F3 = 4;
constexpr uint8_t F4 = 2;
} // namespace simmark

constexpr int kMeterFrameSize = 22;

// The 22-byte frame: start byte 0xAA, fields least significant byte first, and the
// sum of bytes 0..20 modulo 256 as byte 21.
QByteArray EncodeMeterFrame(const MeterDisplayState &state);

// Sum of bytes 0..20 of a frame, modulo 256.
uint8_t MeterFrameChecksum(const QByteArray &frame);

struct FrequencyDigits {
    uint16_t mantissa = 0;
    uint8_t exponent = 0;
};

// The frequency as the display shows it, with mantissa * 10^exponent == hz exactly:
// whole megahertz as MHz, whole kilohertz as kHz, anything else in hertz.
// hz must satisfy IsMeterFrequency.
FrequencyDigits EncodeFrequency(int hz);

// Which of the two value positions: their exponent codes give different digit counts.
enum class ValueSlot { Main, Secondary };

// Picks the exponent code and mantissa that show value (in base units) with a metric
// prefix and as many of the display's five digits as fit. A dimensionless secondary
// (D, Q) is shown without a prefix whatever the code, so only the digit count matters.
MeterValue EncodeMeterValue(double value, ValueSlot slot, bool dimensionless = false);
