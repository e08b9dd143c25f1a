#include "ui/file_log_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The margin a text document keeps around its text.
constexpr qreal kMargin = 4;
// A line is never broken; this is only an upper bound for its layout.
constexpr qreal kUnbrokenWidth = 1e7;
// What a step of the bar across moves, as in a text edit.
constexpr int kStepAcross = 20;

// The menu a read-only text edit offers, in Qt's own words (translated where
// Qt's translations are installed, as the edit's were).
QString menuText(const char *text, QKeySequence::StandardKey key) {
    return QCoreApplication::translate("QWidgetTextControl", text) + QLatin1Char('\t') +
           QKeySequence(key).toString(QKeySequence::NativeText);
}

} // namespace

FileLogView::FileLogView(QWidget *parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    horizontalScrollBar()->setSingleStep(kStepAcross);
    setPlainText(QString());
}

// A save shows its text at the top of the log, nothing selected.
void FileLogView::setPlainText(const QString &text) {
    m_text = text;
    m_lines.clear();
    m_lines.reserve(std::size_t(QStringView(m_text).count(u'\n')) + 1);
    const auto *chars = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype n = m_text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (c > u'\r' || (c != u'\n' && c != u'\r'))
            continue;
        m_lines.push_back({start, i - start});
        if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    m_lines.push_back({start, n - start});

    m_anchor = m_cursor = Place();
    measureWidestLine();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString FileLogView::toPlainText() const {
    QString text;
    text.reserve(m_text.size());
    for (int line = 0; line < lineCount(); ++line) {
        if (line > 0)
            text += QLatin1Char('\n');
        text += lineText(line);
    }
    return text;
}

QString FileLogView::selectedText() const {
    if (!hasSelection())
        return QString();
    const Place from = std::min(m_anchor, m_cursor);
    const Place to = std::max(m_anchor, m_cursor);
    QString text;
    for (int line = from.line; line <= to.line; ++line) {
        const QStringView chars = lineText(line);
        const int start = line == from.line ? from.column : 0;
        const int end = line == to.line ? to.column : int(chars.size());
        text += chars.mid(start, end - start);
        if (line < to.line)
            text += QLatin1Char('\n');
    }
    return text;
}

void FileLogView::selectAll() {
    m_anchor = Place();
    m_cursor = {lineCount() - 1, int(lineText(lineCount() - 1).size())};
    offerSelection();
    viewport()->update();
}

void FileLogView::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

QStringView FileLogView::lineText(int line) const {
    const Span &span = m_lines[std::size_t(line)];
    return QStringView(m_text).mid(span.start, span.length);
}

void FileLogView::layOut(QTextLayout &layout, int line) const {
    layout.setText(lineText(line).toString());
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLeadingIncluded(true);
    textLine.setLineWidth(kUnbrokenWidth);
    textLine.setPosition(QPointF(0, 0));
    layout.endLayout();
}

int FileLogView::lineHeight() const {
    const QFontMetricsF metrics(font());
    return std::max(
        1, qCeil(metrics.ascent() + metrics.descent() + std::max<qreal>(0, metrics.leading())));
}

// As in a text edit, the top margin shows only while the first line is at the top.
QPointF FileLogView::lineOrigin(int line) const {
    const int first = verticalScrollBar()->value();
    const qreal top = first == 0 ? kMargin : 0;
    return QPointF(kMargin - horizontalScrollBar()->value(),
                   top + qreal(line - first) * lineHeight());
}

FileLogView::Place FileLogView::placeAt(const QPoint &point) const {
    const int first = verticalScrollBar()->value();
    const qreal top = first == 0 ? kMargin : 0;
    const int line =
        std::clamp(first + int(std::floor((point.y() - top) / lineHeight())), 0, lineCount() - 1);
    QTextLayout layout;
    layOut(layout, line);
    return {line, layout.lineAt(0).xToCursor(point.x() - lineOrigin(line).x())};
}

// The longest lines by their characters give the width to start with (a
// minus sign is narrower than a digit, so the longest few are measured); a
// wider one, in a face with uneven widths, widens it when laid out on screen.
void FileLogView::measureWidestLine() {
    constexpr std::size_t kMeasured = 16;
    std::vector<int> lines(m_lines.size());
    std::iota(lines.begin(), lines.end(), 0);
    const std::size_t measured = std::min(kMeasured, lines.size());
    std::nth_element(lines.begin(), lines.begin() + std::ptrdiff_t(measured) - 1, lines.end(),
                     [this](int a, int b) {
                         return m_lines[std::size_t(a)].length > m_lines[std::size_t(b)].length;
                     });
    m_widest = 0;
    for (std::size_t i = 0; i < measured; ++i) {
        QTextLayout layout;
        layOut(layout, lines[i]);
        m_widest = std::max(m_widest, layout.lineAt(0).naturalTextWidth());
    }
}

// The ranges a text edit gives its bars: down to where the last line is the
// lowest one shown, across to the widest line and its margins.
void FileLogView::updateScrollBars() {
    const int fit = std::max(0, int((viewport()->height() - kMargin - 1) / lineHeight()));
    QScrollBar *down = verticalScrollBar();
    down->setRange(0, std::max(0, lineCount() - fit));
    down->setPageStep(std::max(1, fit));
    QScrollBar *across = horizontalScrollBar();
    across->setRange(0, std::max(0, int(m_widest + 2 * kMargin) - viewport()->width()));
    across->setPageStep(viewport()->width());
}

void FileLogView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QRect area = event->rect();
    const int height = lineHeight();
    const Place from = std::min(m_anchor, m_cursor);
    const Place to = std::max(m_anchor, m_cursor);
    bool widened = false;
    for (int line = verticalScrollBar()->value(); line < lineCount(); ++line) {
        const QPointF origin = lineOrigin(line);
        if (origin.y() > area.bottom())
            break;
        if (origin.y() + height < area.top())
            continue;
        QTextLayout layout;
        layOut(layout, line);
        const qreal width = layout.lineAt(0).naturalTextWidth();
        if (width > m_widest) {
            m_widest = width;
            widened = true;
        }
        QList<QTextLayout::FormatRange> selection;
        if (hasSelection() && line >= from.line && line <= to.line) {
            QTextLayout::FormatRange range;
            range.start = line == from.line ? from.column : 0;
            range.length = (line == to.line ? to.column : int(lineText(line).size())) - range.start;
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selection.append(range);
        }
        layout.draw(&painter, origin, selection);
    }
    if (widened)
        updateScrollBars();
}

void FileLogView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FileLogView::changeEvent(QEvent *event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureWidestLine();
        updateScrollBars();
    }
}

void FileLogView::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void FileLogView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_cursor = placeAt(event->position().toPoint());
    if (!event->modifiers().testFlag(Qt::ShiftModifier))
        m_anchor = m_cursor;
    viewport()->update();
}

// Dragging past an edge scrolls the text under the pointer.
void FileLogView::mouseMoveEvent(QMouseEvent *event) {
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    scrollToSee(point);
    m_cursor = placeAt(point);
    viewport()->update();
}

void FileLogView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        offerSelection();
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void FileLogView::scrollToSee(const QPoint &point) {
    const QRect shown = viewport()->rect();
    if (point.y() < shown.top())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() > shown.bottom())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (point.x() < shown.left())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.x() > shown.right())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

// Where the system has a selection clipboard (X11), a selection goes there,
// ready to be pasted with the middle button.
void FileLogView::offerSelection() const {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void FileLogView::contextMenuEvent(QContextMenuEvent *event) {
    QMenu menu(this);
    QAction *copyAction =
        menu.addAction(menuText("&Copy", QKeySequence::Copy), this, &FileLogView::copy);
    copyAction->setEnabled(hasSelection());
    menu.addSeparator();
    QAction *all = menu.addAction(menuText("Select All", QKeySequence::SelectAll), this,
                                  &FileLogView::selectAll);
    all->setEnabled(!m_text.isEmpty());
    menu.exec(event->globalPos());
}
