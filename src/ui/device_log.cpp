#include "ui/device_log.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimerEvent>

namespace {
constexpr int kKeptLines = 3000;
// A meter on a fast line sends forty lines a second; the eye reads none of
// them at that pace, and every showing lays out, scrolls and repaints the log.
// The display refresh's period: the first frame after a quiet spell starts
// both, so the log and the display are painted together.
constexpr int kShowPaceMs = 200;
} // namespace

DeviceLog::DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent)
    : QPlainTextEdit(parent) {
    setObjectName(name);
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kKeptLines);
    setAccessibleName(accessibleName);
}

// The edit's own append lays out the new line, the line before it and the line
// it drops, to repaint them and to place cursors, even while hidden, and keeps
// each layout it made: most of a busy line's time, and near 2 MB over a day.
// Here the document is written directly, with cursors placed by position (one
// that moves by blocks lays out the block it leaves), in two edits that the
// layout sees as the few blocks each touched. A hidden log needs no layout at
// all: its layout hears nothing until the log is shown; nor does a shown one
// between two showings, which catches up with all the lines at once.
void DeviceLog::appendLine(const QString &line) {
    const bool shown = isVisible() && !m_pace.isActive();
    m_behind = m_behind || (isVisible() && !shown);
    QTextDocument *doc = document();
    {
        const QSignalBlocker quiet(shown ? nullptr : doc->documentLayout());
        const int kept = doc->maximumBlockCount();
        doc->setMaximumBlockCount(0);
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        cursor.setPosition(doc->characterCount() - 1);
        if (!doc->isEmpty())
            cursor.insertBlock();
        cursor.insertText(line);
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
    if (shown) {
        scrollToNewestLine();
        m_pace.start(kShowPaceMs, this);
    }
}

void DeviceLog::timerEvent(QTimerEvent *event) {
    if (event->timerId() != m_pace.timerId()) {
        QPlainTextEdit::timerEvent(event);
        return;
    }
    m_pace.stop();
    if (!m_behind)
        return;
    m_behind = false;
    if (isVisible()) {
        catchUp();
        m_pace.start(kShowPaceMs, this);
    }
}

// What the layout did not say while it was quiet: the document's new size,
// for the scroll bars, and that the text on screen changed.
void DeviceLog::catchUp() {
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
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
