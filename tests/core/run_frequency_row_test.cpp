#include "run/frequency_row.h"
#include "run/set_points.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FrequencyRow, CellIsValidOnlyForAReachableMeterFrequency) {
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"100", true},      {"25", true},      {"999", true},    {"1000", true},
        {"2000", true},     {"1000000", true}, {" 5000 ", true}, {"24", false},
        {"20", false},      {"1500", false},   {"1001", false},  {"1001000", false},
        {"2000000", false}, {"-100", false},   {"0", false},     {"", false},
        {"abc", false},     {"12,5", false},   {"1e3", false},   {"99999999999", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidFrequencyText(QString::fromUtf8(c.text)), c.valid) << c.text;
}

TEST(FrequencyRow, ValidateChecksRangeOrderAndMultiples) {
    const struct Case {
        QStringList cells;
        bool valid;
        std::vector<int> stored;
    } cases[] = {
        {{"100", "1000", "5000", "10000", "100000"}, true, {100, 1000, 5000, 10000, 100000}},
        {{}, true, {}},
        {{"100", "1000", "1500"}, false, {100, 1000, 1500}},
        {{"1000", "100"}, false, {1000, 100}},
        {{"100", "100"}, false, {100, 100}},
        {{"20", "100"}, false, {20, 100}},
        {{"2000000"}, false, {2000000}},
        // reading stops at a cell that is not an integer
        {{"100", "", "1000"}, false, {100}},
        {{"abc"}, false, {}},
        {{"1500", "x"}, false, {1500}},
    };
    for (const Case &c : cases) {
        TFreqStorage storage;
        storage.Add({7, 9, 0}); // left over from the previous run
        EXPECT_EQ(ValidateFrequencies(c.cells, storage), c.valid) << qPrintable(c.cells.join(' '));
        std::vector<int> stored;
        for (const TFreqItem &item : storage.Items) {
            EXPECT_EQ(item.Col, item.Index + 2);
            stored.push_back(item.Freq);
        }
        EXPECT_EQ(stored, c.stored) << qPrintable(c.cells.join(' '));
    }
}

TEST(FrequencyRow, DefaultFrequenciesFormAValidRow) {
    QStringList cells;
    for (int f : kDefaultFrequencies) {
        cells << QString::number(f);
        EXPECT_TRUE(IsValidFrequencyText(cells.last()));
    }
    TFreqStorage storage;
    EXPECT_TRUE(ValidateFrequencies(cells, storage));
}

} // namespace
