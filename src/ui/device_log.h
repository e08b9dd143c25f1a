#pragma once

#include <QBasicTimer>
#include <QPlainTextEdit>

// A device log: one line per received packet, not wrapped, the newest lines
// kept. It fills while hidden (its usual state) and, when shown, shows the
// newest line at the start of the lines.
class DeviceLog : public QPlainTextEdit {
    Q_OBJECT
public:
    DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent);

    // Adds a line and shows it, even when the user had scrolled back: the
    // newest line is what the log is for. The view stays at the start of the
    // lines (or wherever the user scrolled across). The text holds the line
    // at once; the view shows it at once after a quiet spell, otherwise with
    // the lines that follow it, at most five times a second.
    void appendLine(const QString &line);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void scrollToNewestLine();
    void catchUp();

    // Runs while a new line would come too soon after the last one shown.
    QBasicTimer m_pace;
    // Lines went into the text that the view has not laid out yet.
    bool m_behind = false;
};
