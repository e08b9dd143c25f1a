#include "meter/meter_decode.h"
#include "meter/meter_tables.h"

#include "reference_format.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <vector>

namespace {
const QChar kComma(',');

// RawData of a meter record whose bytes 1.. are `bytes` (byte 0 is the start byte).
std::array<uint8_t, 60> rawFrom(std::initializer_list<uint8_t> bytes) {
    std::array<uint8_t, 60> raw{};
    raw[0] = 0xAA;
    int i = 1;
    for (uint8_t b : bytes)
        raw[i++] = b;
    return raw;
}

// The sample frame: Rp 123,45 kOm, D 12,345, 1000 Hz, level 0,02 V, auto range 10kOm.
std::array<uint8_t, 60> sampleFrame() {
    return rawFrom({0x00, 0x00, 0x02, 0xE8, 0x03, 0x00, 0x02, 0x00, 0x04, 0x02,
                    0x0D, 0x39, 0x30, 0x00, 0xFD, 0x39, 0x30, 0x00, 0x01, 0x04});
}

TEST(MeterDecode, SampleFrameGivesTheDisplayTexts) {
    const TIMPacket p = DecodeMeterPacket(sampleFrame(), kComma);
    EXPECT_EQ(p.OffsetText, "0,00V");
    EXPECT_EQ(p.LevelText, "0,02V");
    EXPECT_EQ(p.FreqText, "1000Hz");
    EXPECT_EQ(p.FreqHz, 1000);
    EXPECT_EQ(p.LimitText, "A 10kOm");
    EXPECT_EQ(p.MainName, "Rp");
    EXPECT_EQ(p.MainValue, "123,45");
    EXPECT_EQ(p.MainUnit, "kOm");
    EXPECT_EQ(p.MainBase, "123450");
    EXPECT_EQ(p.SecName, "D");
    EXPECT_EQ(p.SecValue, "12,345");
    EXPECT_EQ(p.SecUnit, "  ");
    EXPECT_EQ(p.SecBase, "12,345");

    const TIMPacket point = DecodeMeterPacket(sampleFrame(), QChar('.'));
    EXPECT_EQ(point.MainValue, "123.45");
    EXPECT_EQ(point.SecBase, "12.345");
}

TEST(MeterDecode, MainValues) {
    struct Case {
        uint8_t param, m0, m1, m2, expCode;
        const char *value, *unit, *base;
    };
    const Case cases[] = {
        // Negative mantissa, nano prefix.
        {0, 0xC7, 0xCF, 0xFF, 244, "-12,345", "nF", "-1,2345E-8"},
        // Blank prefix.
        {2, 0x00, 0x00, 0x00, 253, "0,000", " Om", "0"},
        // Four integer digits: the text is padded to the width, and still read back.
        {9, 0x05, 0x00, 0x00, 2, " 0,5", "kOm", "500"},
        // Main column of code 0 has two integer digits (secondary has one).
        {1, 0x39, 0x30, 0x00, 0, "12,345", "kH", "12345"},
        {10, 0x39, 0x30, 0x00, 252, "1234,5", "m°", "1,2345"},
        {14, 0x39, 0x30, 0x00, 249, "1234,5", "mkA", "0,0012345"},
        {7, 0xFF, 0xFF, 0x7F, 241, "8388,607", "pF", "8,388607E-9"},
    };
    for (const Case &c : cases) {
        std::array<uint8_t, 60> raw = sampleFrame();
        raw[10] = c.param;
        raw[16] = c.m0;
        raw[17] = c.m1;
        raw[18] = c.m2;
        raw[19] = c.expCode;
        const TIMPacket p = DecodeMeterPacket(raw, kComma);
        EXPECT_EQ(p.MainValue, QString::fromUtf8(c.value)) << int(c.expCode);
        EXPECT_EQ(p.MainUnit, QString::fromUtf8(c.unit)) << int(c.expCode);
        EXPECT_EQ(p.MainBase, QString::fromUtf8(c.base)) << int(c.expCode);
    }
}

TEST(MeterDecode, SecondaryValuesUseTheirOwnDigitsAndDropThePrefixOfDAndQ) {
    struct Case {
        uint8_t param, expCode;
        const char *name, *value, *unit, *base;
    };
    const Case cases[] = {
        {13, 1, "D", "12,345", "  ", "12,345"},
        {6, 3, "Q", "1234,5", "  ", "1234,5"},
        {10, 0, "Phi", "1,2345", "k°", "1234,5"},
        {12, 248, "Z", "1,2345", "mkOm", "1,2345E-6"},
    };
    for (const Case &c : cases) {
        std::array<uint8_t, 60> raw = sampleFrame();
        raw[11] = c.param;
        raw[15] = c.expCode;
        const TIMPacket p = DecodeMeterPacket(raw, kComma);
        EXPECT_EQ(p.SecName, QString::fromUtf8(c.name));
        EXPECT_EQ(p.SecValue, QString::fromUtf8(c.value)) << c.name;
        EXPECT_EQ(p.SecUnit, QString::fromUtf8(c.unit)) << c.name;
        EXPECT_EQ(p.SecBase, QString::fromUtf8(c.base)) << c.name;
    }
}

TEST(MeterDecode, FrequencyLevelAndOffset) {
    std::array<uint8_t, 60> raw = sampleFrame();
    raw[1] = 0xD2; // 1234 hundredths of a volt
    raw[2] = 0x04;
    raw[3] = 255;
    raw[4] = 0x01;
    raw[5] = 0x00;
    raw[6] = 3;
    TIMPacket p = DecodeMeterPacket(raw, kComma);
    EXPECT_EQ(p.FreqText, "1kHz");
    EXPECT_EQ(p.FreqHz, 1000);
    EXPECT_EQ(p.OffsetText, "12,34V");
    EXPECT_EQ(p.LevelText, "2,55V");

    raw[6] = 6;
    p = DecodeMeterPacket(raw, kComma);
    EXPECT_EQ(p.FreqText, "1MHz");
    EXPECT_EQ(p.FreqHz, 1000000);

    // 65535 MHz does not fit FreqHz: reported as unknown rather than wrapped.
    raw[4] = 0xFF;
    raw[5] = 0xFF;
    p = DecodeMeterPacket(raw, kComma);
    EXPECT_EQ(p.FreqText, "65535MHz");
    EXPECT_EQ(p.FreqHz, 0);
}

TEST(MeterDecode, RangeTableFollowsTheMainParameter) {
    const char *const current[] = {"Error", "1mkA",  "10mkA", "100mkA", "1mA",
                                   "10mA",  "100mA", "1A",    "10A"};
    const char *const other[] = {"Error", "10MOm", "1MOm", "100kOm", "10kOm",
                                 "1kOm",  "100Om", "10Om", "1Om"};
    std::array<uint8_t, 60> raw = sampleFrame();
    raw[7] = 0; // manual range
    for (uint8_t range = 0; range <= 8; ++range) {
        raw[9] = range;
        raw[10] = 14;
        const TIMPacket i = DecodeMeterPacket(raw, kComma);
        EXPECT_EQ(i.LimitText, QStringLiteral("   ") + current[range]);
        EXPECT_TRUE(i.MainUnit.endsWith('A'));
        raw[10] = 12;
        EXPECT_EQ(DecodeMeterPacket(raw, kComma).LimitText, QStringLiteral("   ") + other[range]);
    }
}

TEST(MeterDecode, CodesOutsideTheTablesLeaveTheirFieldsEmpty) {
    std::array<uint8_t, 60> raw = sampleFrame();
    raw[6] = 2;    // frequency exponent
    raw[9] = 9;    // range
    raw[10] = 15;  // main parameter
    raw[15] = 100; // secondary exponent
    raw[19] = 15;  // main exponent
    const TIMPacket p = DecodeMeterPacket(raw, kComma);
    EXPECT_EQ(p.FreqText, "1000");
    EXPECT_EQ(p.FreqHz, 1000);
    EXPECT_EQ(p.LimitText, "A ");
    EXPECT_TRUE(p.MainName.isEmpty());
    EXPECT_TRUE(p.MainValue.isEmpty());
    EXPECT_TRUE(p.MainUnit.isEmpty());
    EXPECT_TRUE(p.MainBase.isEmpty());
    EXPECT_EQ(p.SecName, "D");
    EXPECT_TRUE(p.SecValue.isEmpty());
    EXPECT_TRUE(p.SecBase.isEmpty());

    // A known exponent with an unknown parameter still shows the number.
    raw[19] = 1;
    const TIMPacket q = DecodeMeterPacket(raw, kComma);
    EXPECT_EQ(q.MainValue, "123,45");
    EXPECT_EQ(q.MainBase, "123450");
    EXPECT_TRUE(q.MainUnit.isEmpty());
}

// The value and base texts are written from the mantissa's digits; they must
// be what showing the value, reading the text back, moving it by the prefix's
// power of ten and writing it in the general format gives, for every
// exponent code and mantissas across the whole 24-bit range.
TEST(MeterDecode, NumbersMatchReadingTheShownTextBack) {
    std::vector<int> mantissas = {0,       1,        -1,      9,        -9,      10,
                                  99999,   -99999,   100000,  123456,   999999,  1000000,
                                  8388607, -8388608, 8388606, -8388607, 5000000, -4999999};
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i)
        mantissas.push_back(int(random() % 16777216) - 8388608);
    for (int i = 0; i < 1000; ++i)
        mantissas.push_back(int(random() % 200001) - 100000);

    std::array<uint8_t, 60> raw = sampleFrame();
    raw[10] = 0;  // Cp, prefix kept
    raw[11] = 13; // D, prefix dropped
    int mismatches = 0;
    for (int code = 0; code < 256; ++code) {
        metertables::Exponent exp;
        if (!metertables::exponent(uint8_t(code), &exp))
            continue;
        raw[15] = raw[19] = uint8_t(code);
        for (int m : mantissas) {
            for (int at : {12, 16}) {
                raw[at] = uint8_t(m);
                raw[at + 1] = uint8_t(m >> 8);
                raw[at + 2] = uint8_t(m >> 16);
            }
            const TIMPacket p = DecodeMeterPacket(raw, kComma);
            const reference::MeterValue main =
                reference::meterValue(m, exp.mainDigits, 5 - exp.mainDigits, exp.power, kComma);
            const reference::MeterValue sec =
                reference::meterValue(m, exp.secondaryDigits, 5 - exp.secondaryDigits, 0, kComma);
            if (p.MainValue == main.shown && p.MainBase == main.base && p.SecValue == sec.shown &&
                p.SecBase == sec.base)
                continue;
            if (++mismatches <= 5)
                ADD_FAILURE() << "code " << code << " mantissa " << m << ": "
                              << p.MainValue.toStdString() << " " << p.MainBase.toStdString()
                              << " / " << main.shown.toStdString() << " " << main.base.toStdString()
                              << "; " << p.SecValue.toStdString() << " " << p.SecBase.toStdString()
                              << " / " << sec.shown.toStdString() << " " << sec.base.toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
