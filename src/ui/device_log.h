#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStringList>

// A device log: one line per received packet, not wrapped, the newest lines
// kept. It fills while hidden (its usual state) and, when shown, shows the
// newest line at the start of the lines.
class DeviceLog : public QPlainTextEdit {
    Q_OBJECT
public:
    DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent);

    // Adds a line and shows it, even when the user had scrolled back: the
    // newest line is what the log is for. The view stays at the start of the
    // lines (or wherever the user scrolled across). After a quiet spell the
    // line goes into the text and the view at once; lines that follow it
    // closely wait and go in together, at most five times a second.
    void appendLine(const QString &line);
    // Lines taken that the text does not hold yet.
    bool hasWaitingLines() const { return !m_waiting.isEmpty(); }
    // Lines taken, and lines gone into the text, since the log was made: a
    // reader of a busy log waits for the lines taken so far, not for a moment
    // when none waits, which a line every few milliseconds may never leave.
    qint64 linesTaken() const { return m_taken; }
    qint64 linesWritten() const { return m_taken - m_waiting.size(); }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void writeWaitingLines();
    void scrollToNewestLine();
    void catchUp();

    QStringList m_waiting;
    qint64 m_taken = 0;
    // Since the last lines went in; invalid before the first.
    QElapsedTimer m_sinceWritten;
    // Runs while lines wait for their turn.
    QBasicTimer m_pace;
};
