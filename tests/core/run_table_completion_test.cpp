#include "run/table_completion.h"

#include <gtest/gtest.h>

namespace {

using Step = TTableCompletion::Step;

TEST(TableCompletion, TheRunIsToldOnceWhenItsTableBecomesFull) {
    struct Case {
        const char *what;
        int filledBefore, filled, total;
        bool running, stopWhenFull;
        Step expected;
    } const cases[] = {
        {"last cell filled", 5, 6, 6, true, false, Step::Tell},
        {"last cell filled, stop asked", 5, 6, 6, true, true, Step::TellStopAndSave},
        {"one cell still empty", 4, 5, 6, true, true, Step::None},
        {"full already: a reading overwrites a cell", 6, 6, 6, true, true, Step::None},
        {"no run fills it", 5, 6, 6, false, true, Step::None},
        {"a table without cells is never full", 0, 0, 0, true, true, Step::None},
    };
    for (const Case &c : cases) {
        TTableCompletion completion;
        completion.reset(c.filledBefore, c.total);
        EXPECT_EQ(completion.update(c.filled, c.total, c.running, c.stopWhenFull), c.expected)
            << c.what;
    }
}

TEST(TableCompletion, ACellEmptiedAndFilledAgainFillsTheTableAgain) {
    TTableCompletion completion;
    completion.reset(0, 4);
    EXPECT_EQ(completion.update(4, 4, true, false), Step::Tell);
    EXPECT_EQ(completion.update(4, 4, true, false), Step::None);
    EXPECT_EQ(completion.update(3, 4, true, false), Step::None);
    EXPECT_FALSE(completion.isFull());
    EXPECT_EQ(completion.update(4, 4, true, false), Step::Tell);
}

} // namespace
