// The simulated meter's wire format, checked byte by byte against frames worked out
// by hand.
#include "meter_frame.h"
#include "meter_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> bytesOf(const QByteArray &frame) {
    std::vector<int> out;
    for (char c : frame)
        out.push_back(static_cast<uint8_t>(c));
    return out;
}

int32_t signed24(const QByteArray &f, int at) {
    int32_t v = uint8_t(f[at]) | uint8_t(f[at + 1]) << 8 | uint8_t(f[at + 2]) << 16;
    return v & 0x800000 ? v - 0x1000000 : v;
}

} // namespace

TEST(SimMeterFrame, EncodesEveryFieldLittleEndianWithSumChecksum) {
    // Rp 123.45 kOm, D 12.345, 1000 Hz, 0.02 V, auto range 10 kOm, F3 mark.
    MeterDisplayState s;
    s.offsetCentivolts = 0;
    s.levelCentivolts = 2;
    s.frequencyMantissa = 1000;
    s.frequencyExponent = 0;
    s.autoRange = true;
    s.rangeCode = 4;
    s.mainCode = 2;
    s.secondaryCode = 13;
    s.secondary = {12345, 0xFD};
    s.main = {12345, 0x01};
    s.modeMarks = 4;
    const std::vector<int> expected = {0xAA, 0x00, 0x00, 0x02, 0xE8, 0x03, 0x00, 0x02,
                                       0x00, 0x04, 0x02, 0x0D, 0x39, 0x30, 0x00, 0xFD,
                                       0x39, 0x30, 0x00, 0x01, 0x04, 0x80};
    EXPECT_EQ(bytesOf(EncodeMeterFrame(s)), expected);

    // Multi-byte fields at their limits and a negative mantissa in two's complement.
    s.offsetCentivolts = 0x1234;
    s.frequencyMantissa = 0xABCD;
    s.autoRange = false;
    s.main = {-12345, 244};
    s.secondary = {-1, 253};
    const QByteArray f = EncodeMeterFrame(s);
    ASSERT_EQ(f.size(), 22);
    EXPECT_EQ(uint8_t(f[1]), 0x34);
    EXPECT_EQ(uint8_t(f[2]), 0x12);
    EXPECT_EQ(uint8_t(f[4]), 0xCD);
    EXPECT_EQ(uint8_t(f[5]), 0xAB);
    EXPECT_EQ(uint8_t(f[7]), 0);
    EXPECT_EQ(bytesOf(f.mid(16, 3)), (std::vector<int>{0xC7, 0xCF, 0xFF}));
    EXPECT_EQ(bytesOf(f.mid(12, 3)), (std::vector<int>{0xFF, 0xFF, 0xFF}));
    int sum = 0;
    for (int i = 0; i < 21; ++i)
        sum += uint8_t(f[i]);
    EXPECT_EQ(uint8_t(f[21]), sum % 256);
}

TEST(SimMeterFrame, FrequencyIsShownInTheLargestWholeUnit) {
    struct Case {
        int hz;
        int mantissa;
        int exponent;
    };
    for (const Case c : {Case{25, 25, 0},
                         {125, 125, 0},
                         {999, 999, 0},
                         {1000, 1, 3},
                         {3000, 3, 3},
                         {100000, 100, 3},
                         {999000, 999, 3},
                         {1000000, 1, 6}}) {
        const FrequencyDigits d = EncodeFrequency(c.hz);
        EXPECT_EQ(d.mantissa, c.mantissa) << c.hz;
        EXPECT_EQ(d.exponent, c.exponent) << c.hz;
    }
}

TEST(SimMeterFrame, ValuesUseAPrefixAndAllFiveDigitsThatFit) {
    struct Case {
        double value;
        ValueSlot slot;
        bool dimensionless;
        int code;
        int mantissa;
        const char *shown;
    };
    const Case cases[] = {
        {100e-9, ValueSlot::Main, false, 245, 10000, "100.00 nF (n, 3 digits)"},
        {-12.345e-9, ValueSlot::Main, false, 244, -12345, "-12.345 n"},
        {123450, ValueSlot::Main, false, 1, 12345, "123.45 k"},
        {6.2832e-4, ValueSlot::Main, false, 248, 62832, "628.32 mk"},
        {0, ValueSlot::Main, false, 253, 0, "0.000 unprefixed"},
        {999.996, ValueSlot::Main, false, 255, 10000, "rounds up to 1000.0: 4 digits"},
        // The secondary digit counts differ: mk has only 1 and 2, so 150 mk is 0.1500 m.
        {150e-6, ValueSlot::Secondary, false, 252, 1500, "0.1500 m"},
        {100e-9, ValueSlot::Secondary, false, 245, 10000, "100.00 n"},
        {-89.714, ValueSlot::Secondary, false, 253, -89714, "-89.714 degrees"},
        // D and Q show no prefix, so only the digit count matters.
        {12.345, ValueSlot::Secondary, true, 253, 12345, "D 12.345"},
        {0.005, ValueSlot::Secondary, true, 0, 50, "D 0.0050 (1 digit)"},
        {200, ValueSlot::Secondary, true, 254, 20000, "Q 200.00"},
    };
    for (const Case &c : cases) {
        const MeterValue v = EncodeMeterValue(c.value, c.slot, c.dimensionless);
        EXPECT_EQ(v.exponentCode, c.code) << c.shown;
        EXPECT_EQ(v.mantissa, c.mantissa) << c.shown;
    }
}

TEST(SimMeterFrame, ModelDisplaysTheCapacitorAtItsReferencePoint) {
    // At 20 degrees and 1 kHz the component is 100 nF with D = 0.005.
    MeterModel model(1000);
    const QByteArray f = EncodeMeterFrame(model.display(20.0));
    EXPECT_EQ(uint8_t(f[10]), 0);   // Cp
    EXPECT_EQ(uint8_t(f[19]), 245); // n, 3 digits
    EXPECT_EQ(signed24(f, 16), 10000);
    EXPECT_EQ(uint8_t(f[11]), 13); // D
    EXPECT_EQ(uint8_t(f[15]), 0);  // 1 digit before the point
    EXPECT_EQ(signed24(f, 12), 50);
    EXPECT_EQ(uint8_t(f[3]), 100); // 1.00 V
    EXPECT_EQ(uint8_t(f[7]) & 2, 2);
    EXPECT_EQ(uint8_t(f[9]), 4); // |Z| = 1.59 kOm: the 10 kOm range

    // Warmer means more capacitance and loss; the same at a higher frequency means less
    // capacitance.
    const CapacitorReading cold = CapacitorAt(20, 1000), warm = CapacitorAt(80, 1000);
    EXPECT_GT(warm.cp, cold.cp);
    EXPECT_GT(warm.d, cold.d);
    EXPECT_LT(CapacitorAt(20, 100000).cp, cold.cp);
}
