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

} // namespace
