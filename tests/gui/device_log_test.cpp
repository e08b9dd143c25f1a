// A shown device log takes a burst of lines into its text at once and shows
// them together: after the burst the view ends at the newest line.
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

TEST(DeviceLog, ABurstOfLinesIsInTheTextAtOnceAndTheViewCatchesUpWithIt) {
    DeviceLog log(QStringLiteral("reLogIM"), QStringLiteral("log"), nullptr);
    log.resize(300, 120);
    log.show();
    const QScrollBar *bar = log.verticalScrollBar();

    log.appendLine(QStringLiteral("line 0"));
    constexpr int kBurst = 200;
    for (int n = 1; n < kBurst; ++n) {
        log.appendLine(QStringLiteral("line %1").arg(n));
        ASSERT_EQ(log.document()->lastBlock().text(), QStringLiteral("line %1").arg(n));
    }
    EXPECT_EQ(log.document()->blockCount(), kBurst);

    ASSERT_TRUE(waitUntil([&] {
        return bar->maximum() > 0 && bar->value() == bar->maximum() &&
               newestVisibleBlock(log) == kBurst - 1;
    })) << "scroll bar "
        << bar->value() << " of " << bar->maximum() << ", newest line shown "
        << newestVisibleBlock(log);

    // Scrolled back, the next line after a quiet spell brings the view to it.
    const int max = bar->maximum();
    log.verticalScrollBar()->setValue(0);
    ASSERT_TRUE(waitUntil([&] {
        log.appendLine(QStringLiteral("late line"));
        return bar->maximum() > max && bar->value() == bar->maximum();
    }));
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("late line"));
}

} // namespace
