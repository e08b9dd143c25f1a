#include "ui/message_box.h"

#include "settings/data_folder.h"

#include <QAbstractButton>
#include <QGuiApplication>

#include <utility>

QString MessageBoxTitle() {
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? ProgramName() : title;
}

QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, MessageBoxTitle(), text, buttons, parent);
    // The program speaks Russian whatever the system's language, so its buttons do too.
    const std::pair<QMessageBox::StandardButton, const char *> russian[] = {
        {QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto &[button, caption] : russian)
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowNotice(QWidget *parent, const QString &text) {
    ShowMessage(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool AskBeforeDestroying(QWidget *parent, const QString &text) {
    return ShowMessage(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
}
