// The simulated meter's keys: the frequency model the stepping planner relies on,
// and the front panel state the keys change.
#include "freq_keys.h"
#include "meter_frame.h"
#include "meter_model.h"

#include <gtest/gtest.h>

TEST(SimFrequencyKeys, MoveBetweenBoundsAndByTheRangeStep) {
    struct Case {
        int from;
        uint8_t key;
        int to;
    };
    const Case cases[] = {
        {1000, simkey::Right, 2000},
        {5000, simkey::Left, 2000},
        {130, simkey::Left, 120},
        {130, simkey::Right, 200},
        {25, simkey::Right, 50},
        {2000, simkey::Up, 3000},
        {120, simkey::Up, 121},
        {999, simkey::Up, 1000},
        {1000, simkey::Up, 2000},
        {1000, simkey::Down, 999},
        {5000, simkey::Down, 4000},
        {2000, simkey::Down, 1000},
        {50, simkey::Down, 49},
        {999000, simkey::Up, 1000000},
        // Clamped at both ends of the meter's range.
        {25, simkey::Left, 25},
        {25, simkey::Down, 25},
        {1000000, simkey::Right, 1000000},
        {1000000, simkey::Up, 1000000},
        // Not a frequency key.
        {1000, simkey::Enter, 1000},
        {1000, simkey::F3, 1000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ApplyFrequencyKey(c.from, c.key), c.to) << c.from << " key " << int(c.key);
}

TEST(SimFrequencyKeys, EveryKeyKeepsTheFrequencyOnTheMetersGrid) {
    // Walking the whole range up and down by every key never leaves the frequencies
    // that the display can show exactly.
    for (const uint8_t key : {simkey::Up, simkey::Down, simkey::Right, simkey::Left}) {
        for (int f : {25, 120, 999, 1000, 2000, 500000, 1000000}) {
            for (int i = 0; i < 1100; ++i) {
                f = ApplyFrequencyKey(f, key);
                ASSERT_TRUE(IsMeterFrequency(f)) << f;
                const FrequencyDigits d = EncodeFrequency(f);
                const int factor = d.exponent == 6 ? 1000000 : d.exponent == 3 ? 1000 : 1;
                ASSERT_EQ(d.mantissa * factor, f);
            }
        }
    }
}

TEST(SimMeterKeys, FrequencyKeysActOnlyWhileF3IsMarked) {
    MeterModel m(1000);
    m.pressKey(simkey::Right);
    m.pressKey(simkey::Up);
    EXPECT_EQ(m.frequency(), 1000);
    EXPECT_FALSE(m.f3On());

    m.pressKey(simkey::F3);
    EXPECT_TRUE(m.f3On());
    EXPECT_EQ(m.modeMarks(), simmark::F3);
    m.pressKey(simkey::Right);
    EXPECT_EQ(m.frequency(), 2000);
    m.pressKey(simkey::Up);
    EXPECT_EQ(m.frequency(), 3000);

    m.pressKey(simkey::F3);
    EXPECT_FALSE(m.f3On());
    m.pressKey(simkey::Left);
    EXPECT_EQ(m.frequency(), 3000);

    // The other function keys mark independently of F3.
    m.pressKey(simkey::F1);
    m.pressKey(simkey::F4);
    EXPECT_EQ(m.modeMarks(), simmark::F1 | simmark::F4);
}

TEST(SimMeterKeys, ParameterKeysChooseMainAndSecondary) {
    struct Case {
        uint8_t key;
        int main;
        int secondary;
    };
    MeterModel m(1000);
    for (const Case c : {Case{simkey::L, 1, 6},
                         {simkey::R, 2, 0},
                         {simkey::Z, 12, 10},
                         {simkey::I, 14, 10},
                         {simkey::C, 0, 13}}) {
        m.pressKey(c.key);
        m.pressKey(simkey::Enter); // harmless
        const MeterDisplayState s = m.display(20.0);
        EXPECT_EQ(s.mainCode, c.main) << int(c.key);
        EXPECT_EQ(s.secondaryCode, c.secondary) << int(c.key);
    }
    // Current: 1 V across |Z| = 1.59 kOm is 628 mkA, in the 1 mA range (code 4).
    m.pressKey(simkey::I);
    const MeterDisplayState s = m.display(20.0);
    EXPECT_EQ(s.main.exponentCode, 248); // mk, 3 digits
    EXPECT_NEAR(s.main.mantissa, 62833, 2);
    EXPECT_EQ(s.rangeCode, 4);
}
