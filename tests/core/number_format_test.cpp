#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {
const QChar kComma(',');

struct Case {
    double value;
    const char *text;
};

TEST(NumberFormat, GeneralFormatMatchesTheExamples) {
    const Case cases[] = {
        {0.3, "0,3"},         {-1.2345E-8, "-1,2345E-8"},
        {0.00001, "1E-5"},    {1e15, "1E15"},
        {0.0, "0"},           {-50.0, "-50"},
        {123450.0, "123450"}, {0.0001, "0,0001"},
        {12.345, "12,345"},   {1e14, "100000000000000"},
        {-49.8, "-49,8"},     {1.0 / 3.0, "0,333333333333333"},
        {2.5e-9, "2,5E-9"},   {1e300, "1E300"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(numfmt::general(c.value, kComma), QString::fromUtf8(c.text)) << c.value;
    EXPECT_EQ(numfmt::general(0.3, QChar('.')), QStringLiteral("0.3"));
}

TEST(NumberFormat, FourDigitFormatMatchesTheExamples) {
    const Case cases[] = {
        {-50, "-50"},         {25.5, "25,5"},      {1000, "1000"},
        {12340, "1,234E004"}, {0.00005, "5E-005"}, {-1.3877787807814457E-16, "-1,388E-016"},
        {0.3, "0,3"},         {-49.7, "-49,7"},    {20000, "2E004"},
        {30, "30"},           {0.05, "0,05"},      {0.0001, "0,0001"},
        {1234, "1234"},       {0.00001, "1E-005"}, {0.00000000000000011, "1,1E-016"},
        {9999.6, "1E004"},    {0.0, "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(numfmt::fourDigits(c.value, kComma), QString::fromUtf8(c.text)) << c.value;
}

TEST(NumberFormat, FixedIsRightJustifiedWithTheGivenSeparator) {
    EXPECT_EQ(numfmt::fixed(123.45, 3, 2, kComma), QStringLiteral("123,45"));
    EXPECT_EQ(numfmt::fixed(1.5, 4, 1, kComma), QStringLiteral(" 1,5"));
    EXPECT_EQ(numfmt::fixed(0.02, 1, 2, QChar('.')), QStringLiteral("0.02"));
}

TEST(NumberFormat, ParseAcceptsOnlyNumbersWithTheGivenSeparator) {
    struct P {
        const char *text;
        bool ok;
        double value;
    };
    const P cases[] = {
        {"-50,0", true, -50},     {" 1,5", true, 1.5}, {"0,3", true, 0.3}, {"1E-5", true, 1e-5},
        {"-1,2e+3", true, -1200}, {"+7", true, 7},     {"1.5", false, 0},  {"", false, 0},
        {"abc", false, 0},        {"1,2,3", false, 0}, {"-", false, 0},    {"1e", false, 0},
        {"12 3", false, 0},       {"1E400", false, 0},
    };
    for (const P &c : cases) {
        double v = 0;
        EXPECT_EQ(numfmt::parseFloat(QString::fromUtf8(c.text), kComma, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    double v = 0;
    EXPECT_TRUE(numfmt::parseFloat(QStringLiteral("23.50"), QChar('.'), &v));
    EXPECT_DOUBLE_EQ(v, 23.5);
}

// What the program prints, it reads back: the same double for the general
// format, the same text again for the four-digit one.
TEST(NumberFormat, EveryPrintedTextReadsBack) {
    std::vector<double> values = {
        DBL_MAX,
        -DBL_MAX,
        std::nextafter(DBL_MAX, 0.0),
        1.797693134862315e308,
        DBL_MIN,
        -DBL_MIN,
        DBL_TRUE_MIN,
        -DBL_TRUE_MIN,
        1e-310,
        1e15,
        999999999999999.5,
        0.1,
        1.0 / 3,
        -49.99,
        1e-4,
        9.9999999999999995e-5,
        12345678,
        9999.5,
        -0.0,
    };
    std::mt19937_64 random(1);
    while (values.size() < 20000) {
        double v;
        const uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    for (double v : values) {
        for (QChar sep : {kComma, QChar('.')}) {
            const QString general = numfmt::general(v, sep);
            double back = 0;
            ASSERT_TRUE(numfmt::parseFloat(general, sep, &back)) << general.toStdString();
            EXPECT_EQ(numfmt::general(back, sep), general);
            const QString four = numfmt::fourDigits(v, sep);
            ASSERT_TRUE(numfmt::parseFloat(four, sep, &back)) << four.toStdString();
            EXPECT_EQ(numfmt::fourDigits(back, sep), four);
        }
    }
}

// Texts above the largest double up to where the formats print it read as the
// largest double; anything larger, or too small to be anything but zero, is
// still not a number.
TEST(NumberFormat, LargestMagnitudesReadAsTheLargestDouble) {
    struct P {
        const char *text;
        bool ok;
        double value;
    };
    const P cases[] = {
        {"1,79769313486232E308", true, DBL_MAX},
        {"-1,79769313486232E308", true, -DBL_MAX},
        {"1,7976931348623157E308", true, DBL_MAX},
        {"+1,798E308", true, DBL_MAX},
        {"-1,798E308", true, -DBL_MAX},
        {"0,01798000E310", true, DBL_MAX},
        {"1,79800000000001E308", false, 0},
        {"1,7981E308", false, 0},
        {"-1,8E308", false, 0},
        {"1E309", false, 0},
        {"0,1E310", false, 0},
        {"1E99999999999999999999", false, 0},
        {"1E-400", false, 0},
        {"4,94065645841247E-324", true, DBL_TRUE_MIN},
    };
    for (const P &c : cases) {
        double v = 0;
        EXPECT_EQ(numfmt::parseFloat(QString::fromLatin1(c.text), kComma, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    // Written out in full: 1798 and 305 zeros.
    double v = 0;
    EXPECT_TRUE(numfmt::parseFloat(QStringLiteral("1798") + QString(305, QLatin1Char('0')) +
                                       QStringLiteral(",0"),
                                   kComma, &v));
    EXPECT_EQ(v, DBL_MAX);
    EXPECT_FALSE(
        numfmt::parseFloat(QStringLiteral("1799") + QString(305, QLatin1Char('0')), kComma, &v));
}

} // namespace
