// A device log shows a line at once after a quiet spell; a burst that follows
// goes into the text and the view together at the next showing.
#include "instruments_support.h"
#include "ui/device_log.h"

#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

int newestVisibleBlock(const DeviceLog &log) {
    const QPoint bottomLeft(2, log.viewport()->height() - 2);
    return log.cursorForPosition(bottomLeft).block().blockNumber();
}

TEST(DeviceLog, ABurstOfLinesGoesInTogetherAndTheViewCatchesUpWithIt) {
    DeviceLog log(QStringLiteral("reLogIM"), QStringLiteral("log"), nullptr);
    log.resize(300, 120);
    log.show();
    const QScrollBar *bar = log.verticalScrollBar();

    log.appendLine(QStringLiteral("line 0"));
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("line 0"));
    EXPECT_FALSE(log.hasWaitingLines());
    constexpr int kBurst = 200;
    for (int n = 1; n < kBurst; ++n)
        log.appendLine(QStringLiteral("line %1").arg(n));
    EXPECT_TRUE(log.hasWaitingLines());
    EXPECT_EQ(log.document()->blockCount(), 1) << "the burst waits for the next showing";

    ASSERT_TRUE(waitUntil([&] {
        return !log.hasWaitingLines() && bar->maximum() > 0 && bar->value() == bar->maximum() &&
               newestVisibleBlock(log) == kBurst - 1;
    })) << "scroll bar "
        << bar->value() << " of " << bar->maximum() << ", newest line shown "
        << newestVisibleBlock(log);
    EXPECT_EQ(log.document()->blockCount(), kBurst);
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("line %1").arg(kBurst - 1));

    // Scrolled back, the next line after a quiet spell brings the view to it.
    const int max = bar->maximum();
    log.verticalScrollBar()->setValue(0);
    ASSERT_TRUE(waitUntil([&] {
        log.appendLine(QStringLiteral("late line"));
        return bar->maximum() > max && bar->value() == bar->maximum();
    }));
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("late line"));
}

// Hidden, the log keeps its lines all the same, the newest 3000 of them.
TEST(DeviceLog, AHiddenLogKeepsTheNewestLines) {
    DeviceLog log(QStringLiteral("reLogIM"), QStringLiteral("log"), nullptr);
    for (int n = 0; n < 3100; ++n)
        log.appendLine(QStringLiteral("line %1").arg(n));
    ASSERT_TRUE(waitUntil([&] { return !log.hasWaitingLines(); }));
    EXPECT_EQ(log.document()->blockCount(), 3000);
    EXPECT_EQ(log.document()->firstBlock().text(), QStringLiteral("line 100"));
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("line 3099"));
}

} // namespace
