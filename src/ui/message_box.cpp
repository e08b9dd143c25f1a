#include "ui/message_box.h"

#include "settings/data_folder.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>

#include <utility>

QString MessageBoxTitle() {
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? ProgramName() : title;
}

void CaptionInRussian(QMessageBox &box) {
    // The program speaks Russian whatever the system's language, so its buttons do too.
    const std::pair<QMessageBox::StandardButton, const char *> russian[] = {
        {QMessageBox::Yes, QT_TRANSLATE_NOOP("MessageBox", "Да")},
        {QMessageBox::No, QT_TRANSLATE_NOOP("MessageBox", "Нет")},
        {QMessageBox::Cancel, QT_TRANSLATE_NOOP("MessageBox", "Отмена")}};
    for (const auto &[button, caption] : russian)
        if (QAbstractButton *b = box.button(button))
            b->setText(QCoreApplication::translate("MessageBox", caption));
}

QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, MessageBoxTitle(), text, buttons, parent);
    CaptionInRussian(box);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowNotice(QWidget *parent, const QString &text) {
    ShowMessage(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}
