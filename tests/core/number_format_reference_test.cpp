// The fast number formatting against the texts of Qt's conversions: random
// doubles of every magnitude, exact halves and their neighbours, and the
// edges of the fixed notation and of the double range.
#include "base/number_format.h"

#include "reference_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
const QChar kComma(',');

// Compares both formats of every value and counts the mismatches, showing the
// first few, so one fault does not flood the output.
void expectSameTexts(const std::vector<double> &values) {
    int mismatches = 0;
    for (double v : values) {
        const QString general = numfmt::general(v, kComma);
        const QString four = numfmt::fourDigits(v, kComma);
        const QString generalRef = reference::general(v, kComma);
        const QString fourRef = reference::fourDigits(v, kComma);
        if (general == generalRef && four == fourRef)
            continue;
        if (++mismatches <= 5) {
            ADD_FAILURE() << "value " << std::to_string(v) << " bits " << std::hex <<
                [v] {
                    uint64_t bits;
                    std::memcpy(&bits, &v, sizeof bits);
                    return bits;
                }() << ": general "
                          << general.toStdString() << " / " << generalRef.toStdString() << ", four "
                          << four.toStdString() << " / " << fourRef.toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << values.size() << " values";
}

double fromBits(uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

TEST(FastNumberFormat, RandomDoublesOfEveryMagnitude) {
    std::mt19937_64 random(20241208);
    std::vector<double> values;
    while (values.size() < 200000) {
        const double v = fromBits(random());
        if (std::isfinite(v))
            values.push_back(v);
    }
    // Subnormal numbers have fewer binary digits than the decimal ones shown.
    for (int i = 0; i < 20000; ++i)
        values.push_back(fromBits(random() & 0x800FFFFFFFFFFFFFull));
    expectSameTexts(values);
}

// Numbers typed or measured: a few decimal digits, the double nearest to them,
// and the doubles on either side.
TEST(FastNumberFormat, ShortDecimalsAndTheirNeighbours) {
    std::mt19937_64 random(7);
    std::vector<double> values;
    for (int i = 0; i < 60000; ++i) {
        const int digits = 1 + int(random() % 17);
        std::string text = std::to_string(1 + random() % 9);
        for (int d = 1; d < digits; ++d)
            text += char('0' + random() % 10);
        text += 'e' + std::to_string(int(random() % 61) - 40);
        const double v = std::strtod(text.c_str(), nullptr) * (random() % 2 ? -1 : 1);
        values.push_back(v);
        values.push_back(std::nextafter(v, 0.0));
        values.push_back(std::nextafter(v, v * 2));
    }
    expectSameTexts(values);
}

// Values exactly half way between two texts round away from zero; the doubles
// next to them round to the nearer text.
TEST(FastNumberFormat, ExactHalvesAndTheirNeighbours) {
    std::mt19937_64 random(11);
    std::vector<double> halves;
    // n / 2^s is exact, and is a half of the last kept digit when n * 5^s has
    // one digit more than kept and ends in 5.
    for (int kept : {4, 15}) {
        const double low = std::pow(10.0, kept);
        for (int s = 0; s <= 8; ++s) {
            const double five = std::pow(5.0, s);
            const uint64_t from = uint64_t(std::ceil(low / five));
            const uint64_t to = uint64_t(std::floor(10 * low / five));
            for (int i = 0; i < 3000 && from < to; ++i) {
                const uint64_t n = from + random() % (to - from);
                if (n % 2 == 0 || (s == 0 && n % 10 != 5) || n >= (uint64_t(1) << 53))
                    continue;
                halves.push_back(std::ldexp(double(n), -s));
            }
        }
    }
    ASSERT_GT(halves.size(), 10000u);
    std::vector<double> values;
    for (double h : halves) {
        for (double v : {h, std::nextafter(h, 0.0), std::nextafter(h, 2 * h)}) {
            values.push_back(v);
            values.push_back(-v);
            // The same digits in other decades, where the half is no longer exact.
            values.push_back(v * 1e-7);
            values.push_back(v * 1e20);
        }
    }
    expectSameTexts(values);

    // The rule itself, whatever the reference does.
    EXPECT_EQ(numfmt::general(1000000000000005.0, kComma), "1,00000000000001E15");
    EXPECT_EQ(numfmt::general(-1000000000000015.0, kComma), "-1,00000000000002E15");
    EXPECT_EQ(numfmt::fourDigits(12.125, kComma), "12,13");
    EXPECT_EQ(numfmt::fourDigits(12345, kComma), "1,235E004");
    EXPECT_EQ(numfmt::fourDigits(0.03125, kComma), "0,03125");
    EXPECT_EQ(numfmt::fourDigits(-9999.5, kComma), "-1E004");
}

TEST(FastNumberFormat, EdgesOfTheNotationsAndOfTheRange) {
    std::vector<double> values = {
        -0.0,
        0.0,
        DBL_MIN,
        -DBL_MIN,
        std::nextafter(DBL_MIN, 0.0),
        DBL_TRUE_MIN,
        -DBL_TRUE_MIN,
        DBL_MAX,
        -DBL_MAX,
        std::nextafter(DBL_MAX, 0.0),
        1.797693134862315e308,
        1e-310,
        1e-320,
        DBL_EPSILON,
        1.0 - DBL_EPSILON / 2,
        1.0 + DBL_EPSILON,
        0.1,
        0.2,
        0.3,
        1.0 / 3,
        2.0 / 3,
        std::nan(""),
        HUGE_VAL,
        -HUGE_VAL,
    };
    for (double edge : {1e15, 1e-4, 1e4, 1e-5, 1e14, 1e16, 1.0, 10.0, 100.0, 0.001}) {
        double below = edge;
        double above = edge;
        for (int i = 0; i < 8; ++i) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, HUGE_VAL);
            values.push_back(below);
            values.push_back(above);
        }
        values.push_back(edge);
    }
    for (double v : {999999999999999.4, 999999999999999.5, 999999999999999.6, 9999.4999, 9999.5,
                     9.9999999999999995e-5, 9.99949999e-5, 9.9995e-5, 0.00009999999999999999,
                     99999999999999.95, 9.999999999999995, 0.9999999999999995}) {
        values.push_back(v);
        values.push_back(-v);
    }
    expectSameTexts(values);
    EXPECT_EQ(numfmt::general(-0.0, kComma), "0");
    EXPECT_EQ(numfmt::general(DBL_TRUE_MIN, kComma), "4,94065645841247E-324");
    EXPECT_EQ(numfmt::general(DBL_MAX, kComma), "1,79769313486232E308");
    EXPECT_EQ(numfmt::fourDigits(-DBL_MAX, kComma), "-1,798E308");
}

// The forms written from decimal digits give the text of the nearest double
// wherever doubles have all their binary digits.
TEST(FastNumberFormat, DecimalFormsMatchTheirDoubles) {
    std::mt19937_64 random(3);
    int mismatches = 0;
    for (int i = 0; i < 50000; ++i) {
        const int digits = 1 + int(random() % 15);
        qint64 mantissa = 0;
        for (int d = 0; d < digits; ++d)
            mantissa = mantissa * 10 + qint64(random() % 10);
        if (random() % 2)
            mantissa = -mantissa;
        const int exponent = int(random() % (600 - digits)) - 300;
        const std::string text = std::to_string(mantissa) + 'e' + std::to_string(exponent);
        const double v = std::strtod(text.c_str(), nullptr);
        const QString fast = numfmt::generalDecimal(mantissa, exponent, kComma);
        const QString expected = reference::general(v, kComma);
        if (fast != expected && ++mismatches <= 5)
            ADD_FAILURE() << text << ": " << fast.toStdString() << " / " << expected.toStdString();
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(numfmt::generalDecimal(1234567890123456789, 0, kComma), "1,23456789012346E18");
    EXPECT_EQ(numfmt::generalDecimal(-5, 0, kComma), "-5");
    EXPECT_EQ(numfmt::generalDecimal(0, -7, kComma), "0");

    // Offsets and levels are hundredths of a volt; meter values have one to
    // four decimals and one to four digits of width.
    for (int m = -70000; m <= 70000; ++m) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            const int width = 1 + (m & 3);
            const double v = m / std::pow(10.0, decimals);
            ASSERT_EQ(numfmt::fixedDecimal(m, decimals, width, kComma),
                      reference::fixed(v, width, decimals, kComma))
                << m << " " << decimals;
        }
    }
    EXPECT_EQ(numfmt::fixedDecimal(-8388608, 4, 8, QChar('.')), "-838.8608");
    EXPECT_EQ(numfmt::fixedDecimal(7, 3, 7, kComma), "  0,007");
}

} // namespace
