#include "ui/device_log.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimerEvent>

#include <array>

namespace {
constexpr int kKeptLines = 3000;
// A meter on a fast line sends forty lines a second; the eye reads none of
// them at that pace, and every edit of the text and every showing lays out,
// scrolls and repaints the log. The display refresh's period: the first frame
// after a quiet spell starts both, so the log and the display are painted
// together.
constexpr int kShowPaceMs = 200;

// A bar that is redrawn only when it would look different. Each showing of a
// growing log changes the bar's range, but its handle moves by a pixel only
// every few dozen lines, and drawing the bar costs more than the lines (with
// the panels under it, which it does not cover opaquely). A catch-up changes
// the range and then the value, and in between the bar looks scrolled back
// from its end: while the log settles, the bar only compares its look once
// the settling is over.
class LogScrollBar : public QScrollBar {
public:
    LogScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent) {}

    void beginSettling() { m_settling = true; }
    void endSettling() {
        m_settling = false;
        redrawIfChanged(SliderValueChange);
    }

protected:
    void sliderChange(SliderChange change) override {
        if (change == SliderOrientationChange) {
            m_drawn = look();
            QScrollBar::sliderChange(change);
        } else if (!m_settling) {
            redrawIfChanged(change);
        }
    }

private:
    struct Look {
        QRect handle;
        bool atStart = false;
        bool atEnd = false;
        bool operator==(const Look &o) const {
            return handle == o.handle && atStart == o.atStart && atEnd == o.atEnd;
        }
    };

    Look look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        this),
                value() == minimum(), value() == maximum()};
    }

    void redrawIfChanged(SliderChange change) {
        const Look now = look();
        if (now == m_drawn)
            return;
        m_drawn = now;
        QScrollBar::sliderChange(change);
    }

    Look m_drawn;
    bool m_settling = false;
};

// Both bars of a log settle together.
class SettlingBars {
public:
    explicit SettlingBars(QAbstractScrollArea *area)
        : m_bars{static_cast<LogScrollBar *>(area->verticalScrollBar()),
                 static_cast<LogScrollBar *>(area->horizontalScrollBar())} {
        for (LogScrollBar *bar : m_bars)
            bar->beginSettling();
    }
    ~SettlingBars() {
        for (LogScrollBar *bar : m_bars)
            bar->endSettling();
    }
    SettlingBars(const SettlingBars &) = delete;
    SettlingBars &operator=(const SettlingBars &) = delete;

    // Every change of a bar's range makes the area lay out its bars again (a
    // queued call), which raises them and so repaints them and the panels
    // under them, though only a range that appears or vanishes shows or hides
    // a bar. The area hears of those alone; the edit sets its first line from
    // the bars itself.
    template <typename Change>
    void changeRanges(Change change) {
        std::array<bool, 2> spanned{};
        for (size_t n = 0; n < m_bars.size(); ++n)
            spanned[n] = m_bars[n]->maximum() > m_bars[n]->minimum();
        {
            const QSignalBlocker quietVertical(m_bars[0]);
            const QSignalBlocker quietHorizontal(m_bars[1]);
            change();
        }
        for (size_t n = 0; n < m_bars.size(); ++n) {
            LogScrollBar *bar = m_bars[n];
            if (spanned[n] != (bar->maximum() > bar->minimum()))
                emit bar->rangeChanged(bar->minimum(), bar->maximum());
        }
    }

private:
    std::array<LogScrollBar *, 2> m_bars;
};

} // namespace

DeviceLog::DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent)
    : QPlainTextEdit(parent) {
    setObjectName(name);
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kKeptLines);
    setAccessibleName(accessibleName);
    setVerticalScrollBar(new LogScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new LogScrollBar(Qt::Horizontal, this));
}

// Lines wait in a list, not in the text: each edit of the text costs about as
// much for one line as for ten (the layout and the edit's listeners hear of
// it), and a log at forty lines a second is read five times a second at best.
void DeviceLog::appendLine(const QString &line) {
    m_waiting.append(line);
    ++m_taken;
    if (m_pace.isActive())
        return;
    const qint64 since = m_sinceWritten.isValid() ? m_sinceWritten.elapsed() : kShowPaceMs;
    if (since >= kShowPaceMs)
        writeWaitingLines();
    else
        m_pace.start(int(kShowPaceMs - since), this);
}

void DeviceLog::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_pace.timerId()) {
        QPlainTextEdit::timerEvent(event);
        return;
    }
    m_pace.stop();
    writeWaitingLines();
}

// The edit's own append lays out the new line, the line before it and the line
// it drops, to repaint them and to place cursors, even while hidden, and keeps
// each layout it made: most of a busy line's time, and near 2 MB over a day.
// Here the document is written directly, with cursors placed by position (one
// that moves by blocks lays out the block it leaves), in two edits that the
// layout hears nothing of: a hidden log needs no layout until it is shown, and
// a shown one catches up with all the new lines at once.
void DeviceLog::writeWaitingLines() {
    if (m_waiting.isEmpty())
        return;
    m_sinceWritten.start();
    QTextDocument *doc = document();
    {
        const QSignalBlocker quiet(doc->documentLayout());
        const int kept = doc->maximumBlockCount();
        doc->setMaximumBlockCount(0);
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        cursor.setPosition(doc->characterCount() - 1);
        for (const QString &line : std::as_const(m_waiting)) {
            if (!doc->isEmpty())
                cursor.insertBlock();
            cursor.insertText(line);
        }
        cursor.endEditBlock();
        if (doc->blockCount() > kept) {
            cursor.beginEditBlock();
            cursor.setPosition(0);
            cursor.setPosition(doc->findBlockByNumber(doc->blockCount() - kept).position(),
                               QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            cursor.endEditBlock();
        }
        doc->setMaximumBlockCount(kept);
    }
    m_waiting.clear();
    if (isVisible())
        catchUp();
}

// What the layout did not say while it was quiet: the document's new size,
// for the scroll bars, and that the text on screen changed.
void DeviceLog::catchUp() {
    SettlingBars settling(this);
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    settling.changeRanges([layout] { emit layout->documentSizeChanged(layout->documentSize()); });
    viewport()->update();
    scrollToNewestLine();
}

void DeviceLog::scrollToNewestLine() {
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

// Shown, the edit scrolls to its text cursor; the cursor goes to the start of
// the newest line, away from the zero padding at the right of a meter line.
void DeviceLog::showEvent(QShowEvent *event) {
    writeWaitingLines();
    QPlainTextEdit::showEvent(event);
    setTextCursor(QTextCursor(document()->lastBlock()));
    scrollToNewestLine();
}

// A view that showed the newest line keeps it in view when it changes size,
// as when the bar across appears after the first show.
void DeviceLog::resizeEvent(QResizeEvent *event) {
    const QScrollBar *bar = verticalScrollBar();
    const bool atNewest = bar->value() == bar->maximum();
    QPlainTextEdit::resizeEvent(event);
    if (atNewest)
        scrollToNewestLine();
}
