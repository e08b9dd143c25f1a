// A device log shows a line at once after a quiet spell; a burst that follows
// goes into the text and the view together at the next showing.
#include "instruments_support.h"
#include "ui/device_log.h"

#include <QCoreApplication>
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

class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// A bar comes when the lines outgrow the view across or down, and a growing log
// whose bars would look the same repaints its lines, not its bars (nor the
// panels beneath them).
TEST(DeviceLog, BarsComeWithTheLinesAndAreNotRepaintedWhileTheyLookTheSame) {
    DeviceLog log(QStringLiteral("reLogIM"), QStringLiteral("log"), nullptr);
    log.resize(300, 120);
    log.show();
    QScrollBar *down = log.verticalScrollBar();
    QScrollBar *across = log.horizontalScrollBar();
    log.appendLine(QStringLiteral("short"));
    ASSERT_TRUE(waitUntil([&] { return !log.hasWaitingLines(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(down->isVisibleTo(&log));
    EXPECT_FALSE(across->isVisibleTo(&log));

    for (int n = 0; n < 300; ++n)
        log.appendLine(QStringLiteral("line %1").arg(n));
    ASSERT_TRUE(waitUntil([&] { return !log.hasWaitingLines() && down->isVisibleTo(&log); }));
    EXPECT_FALSE(across->isVisibleTo(&log));
    log.appendLine(QString(200, QLatin1Char('x')));
    ASSERT_TRUE(waitUntil([&] { return !log.hasWaitingLines() && across->isVisibleTo(&log); }));

    // The first burst after the bar across came in lets the layout settle.
    const PaintCount linePaints(log.viewport());
    const auto burstShown = [&](int burst) {
        const int before = linePaints.count;
        for (int n = 0; n < 10; ++n)
            log.appendLine(QStringLiteral("more %1 %2").arg(burst).arg(n));
        return waitUntil([&] { return !log.hasWaitingLines() && linePaints.count > before; });
    };
    ASSERT_TRUE(burstShown(0));
    const PaintCount downPaints(down);
    const PaintCount acrossPaints(across);
    for (int burst = 1; burst <= 3; ++burst)
        ASSERT_TRUE(burstShown(burst));
    EXPECT_EQ(down->value(), down->maximum());
    EXPECT_EQ(downPaints.count, 0);
    EXPECT_EQ(acrossPaints.count, 0);
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
