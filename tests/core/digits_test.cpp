#include "base/digits.h"

#include <gtest/gtest.h>

namespace {

TEST(DigitsToInt, KeepsOnlyDecimalDigits) {
    struct Case {
        const char *text;
        int32_t value;
    };
    const Case cases[] = {
        {"COM12", 12},      {" COM 12", 12},     {"abc", -1},
        {"", -1},           {"12345678901", -1}, {"2147483647", 2147483647},
        {"2147483648", -1}, {"-5", 5},           {"0007", 7},
        {"COM١٢", -1},      {"1.5", 15},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DigitsToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

// The link refuses such a rate and the search skips it; neither assumes another.
TEST(ReadBitRate, OnlyAWholePositiveNumber) {
    struct Case {
        const char *text;
        std::optional<int> rate;
    };
    const Case cases[] = {
        {"9600", 9600},          {"115200", 115200},       {"0", std::nullopt},
        {"-9600", std::nullopt}, {"", std::nullopt},       {"fast", std::nullopt},
        {"96OO", std::nullopt},  {"9600.5", std::nullopt}, {"2147483648", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadBitRate(QString::fromUtf8(c.text)), c.rate) << c.text;
}

} // namespace
