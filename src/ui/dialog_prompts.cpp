#include "ui/dialog_prompts.h"

#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QMessageBox::Icon boxIcon(TPromptIcon icon) {
    switch (icon) {
    case TPromptIcon::Information:
        return QMessageBox::Information;
    case TPromptIcon::Warning:
        return QMessageBox::Warning;
    case TPromptIcon::Question:
        return QMessageBox::Question;
    case TPromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QPushButton *addChoice(QMessageBox &box, const TPromptChoice &choice) {
    using Role = TPromptChoice::Role;
    switch (choice.role) {
    case Role::Ok:
        return box.addButton(QMessageBox::Ok);
    case Role::Yes:
        return box.addButton(QMessageBox::Yes);
    case Role::No:
        return box.addButton(QMessageBox::No);
    case Role::Cancel:
        return box.addButton(QMessageBox::Cancel);
    case Role::Accept:
        return box.addButton(choice.label, QMessageBox::AcceptRole);
    case Role::Destructive:
        return box.addButton(choice.label, QMessageBox::DestructiveRole);
    case Role::Reject:
        return box.addButton(choice.label, QMessageBox::RejectRole);
    }
    return nullptr;
}

// "Рисунок SVG (*.svg)" -> "svg".
QString filterSuffix(const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

DialogPrompts::DialogPrompts(QWidget *window) : m_window(window) {}

QWidget *DialogPrompts::dialogParent() const {
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_window;
}

void DialogPrompts::notice(TPromptIcon icon, const QString &text) {
    ShowMessage(dialogParent(), boxIcon(icon), text, QMessageBox::Ok);
}

int DialogPrompts::question(TPromptIcon icon, const QString &text,
                            const QVector<TPromptChoice> &choices, int defaultChoice) {
    QMessageBox box(boxIcon(icon), MessageBoxTitle(), text, QMessageBox::NoButton, dialogParent());
    QVector<QPushButton *> buttons;
    for (const TPromptChoice &choice : choices)
        buttons << addChoice(box, choice);
    CaptionInRussian(box);
    if (defaultChoice >= 0 && defaultChoice < buttons.size())
        box.setDefaultButton(buttons[defaultChoice]);
    box.exec();
    return int(buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
}

QString DialogPrompts::saveFile(const TFileRequest &request) {
    QFileDialog dialog(dialogParent(), request.caption, request.start, request.filter);
    dialog.setObjectName(request.objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.suffixFollowsFilter)
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &filter) { dialog.setDefaultSuffix(filterSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString DialogPrompts::chooseFolder(const QString &caption, const QString &start) {
    return QFileDialog::getExistingDirectory(dialogParent(), caption, start);
}
