#include "ui/device_log.h"

#include <QScrollBar>

namespace {
constexpr int kKeptLines = 3000;
} // namespace

DeviceLog::DeviceLog(const QString &name, const QString &accessibleName, QWidget *parent)
    : QPlainTextEdit(parent) {
    setObjectName(name);
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kKeptLines);
    setAccessibleName(accessibleName);
}

// The first show scrolls to the text cursor with a layout made while hidden,
// which lands on the first line; the newest line is what the log is for.
void DeviceLog::showEvent(QShowEvent *event) {
    QPlainTextEdit::showEvent(event);
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}
