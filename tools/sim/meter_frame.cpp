#include "meter_frame.h"

#include <cmath>
#include <optional>

namespace {

// The display's exponent codes: power of ten of the prefix and the digits shown
// before the decimal point, which differ between the main and the secondary value.
struct ExponentCode {
    uint8_t code;
    int power;
    int digitsMain;
    int digitsSecondary;
};

constexpr ExponentCode kExponentCodes[] = {
    {0, 3, 2, 1},     {1, 3, 3, 2},     {2, 3, 4, 3},     {3, 6, 2, 4},     {4, 6, 3, 3},
    {5, 6, 4, 4},     {6, 9, 2, 2},     {7, 9, 3, 3},     {8, 9, 4, 4},     {9, 12, 2, 2},
    {10, 12, 3, 3},   {11, 12, 4, 4},   {12, 12, 2, 2},   {13, 12, 3, 3},   {14, 12, 4, 4},
    {235, -15, 2, 2}, {236, -15, 3, 3}, {237, -15, 4, 4}, {238, -15, 2, 2}, {239, -15, 3, 3},
    {240, -15, 4, 4}, {241, -12, 2, 2}, {242, -12, 3, 3}, {243, -12, 4, 4}, {244, -9, 2, 2},
    {245, -9, 3, 3},  {246, -9, 4, 4},  {247, -6, 2, 2},  {248, -6, 3, 1},  {249, -6, 4, 2},
    {250, -3, 2, 3},  {251, -3, 3, 4},  {252, -3, 4, 1},  {253, 0, 2, 2},   {254, 0, 3, 3},
    {255, 0, 4, 4},
};

// Prefix powers from femto to tera; literals so that 1e-9 is the same double as in
// any caller's arithmetic.
constexpr double kPrefixScale[] = {1e-15, 1e-12, 1e-9, 1e-6, 1e-3, 1.0, 1e3, 1e6, 1e9, 1e12};
constexpr int kPrefixCount = sizeof(kPrefixScale) / sizeof(kPrefixScale[0]);
constexpr int prefixPower(int index) {
    return index * 3 - 15;
}

constexpr int kDisplayDigits = 5;
constexpr long long kMantissaLimit = 100000; // five digits

int digitsOf(const ExponentCode &c, ValueSlot slot) {
    return slot == ValueSlot::Main ? c.digitsMain : c.digitsSecondary;
}

// The first code in table order with this prefix power and digit count.
std::optional<uint8_t> findCode(int power, int digits, ValueSlot slot) {
    for (const auto &c : kExponentCodes)
        if (c.power == power && digitsOf(c, slot) == digits)
            return c.code;
    return std::nullopt;
}

// Any code with this digit count, a blank-prefix one first: for D and Q the prefix is
// not shown, and a blank one reads right even to a decoder that would show it.
std::optional<uint8_t> findDimensionlessCode(int digits, ValueSlot slot) {
    if (auto blank = findCode(0, digits, slot))
        return blank;
    for (const auto &c : kExponentCodes)
        if (digitsOf(c, slot) == digits)
            return c.code;
    return std::nullopt;
}

// Mantissa of x shown with `digits` places before the point, if it fits five digits.
std::optional<int32_t> mantissaFor(double x, int digits) {
    const long long m = std::llround(x * std::pow(10.0, kDisplayDigits - digits));
    if (m >= kMantissaLimit)
        return std::nullopt;
    return static_cast<int32_t>(m);
}

void putLittleEndian(QByteArray &frame, int at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        frame[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray EncodeMeterFrame(const MeterDisplayState &s) {
    QByteArray frame(kMeterFrameSize, '\0');
    frame[0] = static_cast<char>(0xAA);
    putLittleEndian(frame, 1, s.offsetCentivolts, 2);
    frame[3] = static_cast<char>(s.levelCentivolts);
    putLittleEndian(frame, 4, s.frequencyMantissa, 2);
    frame[6] = static_cast<char>(s.frequencyExponent);
    frame[7] = static_cast<char>(s.autoRange ? 2 : 0);
    frame[8] = static_cast<char>(s.unused8);
    frame[9] = static_cast<char>(s.rangeCode);
    frame[10] = static_cast<char>(s.mainCode);
    frame[11] = static_cast<char>(s.secondaryCode);
    putLittleEndian(frame, 12, static_cast<uint32_t>(s.secondary.mantissa), 3);
    frame[15] = static_cast<char>(s.secondary.exponentCode);
    putLittleEndian(frame, 16, static_cast<uint32_t>(s.main.mantissa), 3);
    frame[19] = static_cast<char>(s.main.exponentCode);
    frame[20] = static_cast<char>(s.modeMarks);
    frame[21] = static_cast<char>(MeterFrameChecksum(frame));
    return frame;
}

uint8_t MeterFrameChecksum(const QByteArray &frame) {
    uint8_t sum = 0;
    for (int i = 0; i < kMeterFrameSize - 1 && i < frame.size(); ++i)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(frame[i]));
    return sum;
}

FrequencyDigits EncodeFrequency(int hz) {
    if (hz >= 1000000 && hz % 1000000 == 0)
        return {static_cast<uint16_t>(hz / 1000000), 6};
    if (hz >= 1000 && hz % 1000 == 0)
        return {static_cast<uint16_t>(hz / 1000), 3};
    return {static_cast<uint16_t>(hz), 0};
}

MeterValue EncodeMeterValue(double value, ValueSlot slot, bool dimensionless) {
    const double magnitude = std::fabs(value);
    const int32_t sign = value < 0 ? -1 : 1;

    if (dimensionless) {
        for (int digits = 1; digits <= 4; ++digits) {
            const auto code = findDimensionlessCode(digits, slot);
            const auto m = code ? mantissaFor(magnitude, digits) : std::nullopt;
            if (m)
                return {sign * *m, *code};
        }
        return {sign * int32_t(kMantissaLimit - 1), 255};
    }

    // The largest prefix that leaves at least one whole unit; zero shows unprefixed.
    constexpr int kUnprefixed = 5;
    int first = kUnprefixed;
    if (magnitude > 0) {
        first = 0;
        for (int i = kPrefixCount - 1; i > 0; --i)
            if (magnitude >= kPrefixScale[i]) {
                first = i;
                break;
            }
    }
    // Rounding may need one more digit than the prefix leaves; then the next one up.
    for (int i = first; i < kPrefixCount; ++i) {
        const double x = magnitude / kPrefixScale[i];
        for (int digits = 1; digits <= 4; ++digits) {
            const auto code = findCode(prefixPower(i), digits, slot);
            const auto m = code ? mantissaFor(x, digits) : std::nullopt;
            if (m)
                return {sign * *m, *code};
        }
    }
    return {sign * int32_t(kMantissaLimit - 1), 11};
}
