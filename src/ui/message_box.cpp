#include "ui/message_box.h"

#include <QAbstractButton>
#include <QGuiApplication>

#include <utility>

QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons) {
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Utility for Tamrel");
    QMessageBox box(icon, title, text, buttons, parent);
    // The program speaks Russian whatever the system's language, so its buttons do too.
    const std::pair<QMessageBox::StandardButton, const char *> russian[] = {
        {QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto &[button, caption] : russian)
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowNotice(QWidget *parent, const QString &text) {
    ShowMessage(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}
