#include "ui/message_box.h"

#include <QGuiApplication>

QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons) {
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Utility for Tamrel");
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowNotice(QWidget *parent, const QString &text) {
    ShowMessage(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}
