#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QStringView>

#include <vector>

class QTextLayout;

// The file log (reLogFile): the text of the last save, read-only and not
// wrapped, its lines selectable and copied as a text edit's are.
//
// A saved table runs to tens of thousands of lines. A text document makes a
// block of each line, which took most of a save's time; this view keeps the
// text as it was given, with where each line starts, and lays out only the
// lines on screen. It looks like the read-only plain text edit it replaces:
// the same frame, margin, line spacing and colours.
class FileLogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FileLogView(QWidget *parent = nullptr);

    // Lines end with "\r\n", "\n" or "\r".
    void setPlainText(const QString &text);
    // The lines joined by "\n".
    QString toPlainText() const;

    // The selected part, its lines joined by "\n"; empty without a selection.
    QString selectedText() const;
    void selectAll();
    // Puts the selection on the clipboard; nothing without a selection.
    void copy() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    // A place between two characters: line and column.
    struct Place {
        int line = 0;
        int column = 0;
        bool operator<(const Place &other) const {
            return line < other.line || (line == other.line && column < other.column);
        }
        bool operator==(const Place &other) const {
            return line == other.line && column == other.column;
        }
    };

    int lineCount() const { return int(m_lines.size()); }
    QStringView lineText(int line) const;
    // The line laid out as the edit lays out a block, at (0, 0).
    void layOut(QTextLayout &layout, int line) const;
    int lineHeight() const;
    // Where the top left of a line's layout lies in the viewport.
    QPointF lineOrigin(int line) const;
    Place placeAt(const QPoint &point) const;
    bool hasSelection() const { return !(m_anchor == m_cursor); }
    void measureWidestLine();
    void updateScrollBars();
    void scrollToSee(const QPoint &point);
    void offerSelection() const;

    QString m_text;
    std::vector<Span> m_lines;
    // The widest line laid out so far, without the margins.
    qreal m_widest = 0;
    Place m_anchor;
    Place m_cursor;
};
