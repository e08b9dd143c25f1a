#include "run/numeric_key_filter.h"

#include <gtest/gtest.h>

namespace {

const QChar kDrop(0);
const QChar kBackspace(8);

TEST(NumericKeyFilter, DecidesEachTypedCharacter) {
    const struct {
        QChar typed;
        bool countEdit;
        QChar separator;
        QChar expected;
    } cases[] = {
        // temperature edits: point, comma and slash become the separator
        {'.', false, ',', ','},
        {'/', false, ',', ','},
        {',', false, ',', ','},
        {',', false, '.', '.'},
        {'-', false, ',', '-'},
        {'7', false, ',', '7'},
        {kBackspace, false, ',', kBackspace},
        {'+', false, ',', kDrop},
        {'e', false, ',', kDrop},
        {' ', false, ',', kDrop},
        {QChar(0x0663), false, ',', kDrop}, // a digit of another script
        {'.', false, QChar(0x066B), QChar(0x066B)},
        // count edit: digits and backspace only
        {'0', true, ',', '0'},
        {'9', true, ',', '9'},
        {kBackspace, true, ',', kBackspace},
        {',', true, ',', kDrop},
        {'.', true, '.', kDrop},
        {'-', true, ',', kDrop},
        {'a', true, ',', kDrop},
    };
    for (const auto &c : cases)
        EXPECT_EQ(filterNumericKey(c.typed, c.countEdit, c.separator), c.expected)
            << "typed U+" << std::hex << c.typed.unicode() << (c.countEdit ? " count" : " temp");
}

} // namespace
