#pragma once

#include <QPlainTextEdit>

// A device log: one line per received packet, not wrapped, the newest lines
// kept. It fills while hidden (its usual state) and, when shown, shows the
// newest line at the start of the lines (see uihelp::appendLogLine).
class DeviceLog : public QPlainTextEdit {
    Q_OBJECT
public:
    DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;
};
