#pragma once

#include <QString>

#include <cstdint>

// The meter's display codes as they arrive in a frame. Every lookup answers
// false (or an empty text) for a code the meter is not known to send, so a
// damaged or unexpected frame decodes to empty fields instead of garbage.
namespace metertables {

// Parameter name of a main (byte 10) or secondary (byte 11) parameter code.
QString mainName(uint8_t code);
QString secondaryName(uint8_t code);
// Unit of a parameter code, common to the main and the secondary value.
QString unit(uint8_t code);

struct Exponent {
    QString prefix;          // decimal prefix as the display shows it
    int power = 0;           // power of ten of the prefix
    int mainDigits = 0;      // digits before the decimal point, main value
    int secondaryDigits = 0; // digits before the decimal point, secondary value
};
bool exponent(uint8_t code, Exponent *out);

// Range name of byte 9; the current ranges apply when the main parameter is I.
QString rangeName(uint8_t rangeCode, uint8_t mainCode);

struct FrequencyUnit {
    QString unit;
    int factor = 1;
};
bool frequencyUnit(uint8_t code, FrequencyUnit *out);

// Parameter codes as bytes 10 (main) and 11 (secondary) carry them. Code 10
// is the phase angle Phi, in degrees, as a secondary parameter and "T" as a
// main one.
enum ParameterCode : uint8_t {
    kCpCode = 0,
    kLpCode = 1,
    kRpCode = 2,
    kGpCode = 3,
    kBpCode = 4,
    kAdmittanceCode = 5,
    kQualityCode = 6,
    kCsCode = 7,
    kLsCode = 8,
    kRsCode = 9,
    kPhaseCode = 10,
    kXsCode = 11,
    kImpedanceCode = 12,
    kDissipationCode = 13,
    kCurrentCode = 14,
};

// Where a frame (and a meter record's RawData) carries the two parameter codes.
constexpr int kMainCodeByte = 10;
constexpr int kSecondaryCodeByte = 11;

} // namespace metertables
