#include "ui/classic_group_box.h"
#include "ui/main_window_ui.h"
#include "ui/typing_limit.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("SettingsPanel", text);
}

constexpr int kLabelSpacing = 3;

// An edit box with its caption at its left, the caption standing for the box
// (buddy) so that it is also the box's accessible name.
QLineEdit *addLabelledEdit(QWidget *parent, const char *name, const QString &caption, QRect box,
                           int maxLength, const QString &text) {
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(box);
    edit->setValidator(new TypingLimit(maxLength, edit));
    edit->setAccessibleName(caption);

    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    label->adjustSize();
    label->move(box.left() - kLabelSpacing - label->width(),
                box.top() + (box.height() - label->height()) / 2);
    label->setBuddy(edit);
    return edit;
}

} // namespace

QWidget *buildSettingsPanel(MainWindowUi &ui, QWidget *parent) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pnlSettings"));
    panel->setFixedWidth(150);
    ui.pnlSettings = panel;

    ui.GroupBox1 = new ClassicGroupBox(tr("Температура °C"), panel);
    ui.GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ui.GroupBox1->setGeometry(0, 0, 150, 130);
    ui.leTempInit = addLabelledEdit(ui.GroupBox1, "leTempInit", tr("Начальная"),
                                    {77, 15, 65, 21}, 6, QStringLiteral("-50,0"));
    ui.leTempFinal = addLabelledEdit(ui.GroupBox1, "leTempFinal", tr("Конечная"),
                                     {77, 42, 65, 21}, 6, QStringLiteral("30,0"));
    ui.leTempStep = addLabelledEdit(ui.GroupBox1, "leTempStep", tr("Шаг"),
                                    {77, 69, 65, 21}, 6, QStringLiteral("1,0"));
    ui.leTempDiff = addLabelledEdit(ui.GroupBox1, "leTempDiff", tr("Погрешность"),
                                    {77, 96, 65, 21}, 6, QStringLiteral("0,3"));

    ui.GroupBox2 = new ClassicGroupBox(tr("Частоты"), panel);
    ui.GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    ui.GroupBox2->setGeometry(0, 130, 150, 72);
    ui.leFreqColCount = addLabelledEdit(ui.GroupBox2, "leFreqColCount", tr("Столбцов"),
                                        {77, 15, 23, 21}, 2, QStringLiteral("5"));
    ui.lblSkipIM = addLabelledEdit(ui.GroupBox2, "lblSkipIM", tr("Пропустить"),
                                   {77, 42, 23, 21}, 2, QStringLiteral("7"));
    auto *packets = new QLabel(tr("пакетов"), ui.GroupBox2);
    packets->setObjectName(QStringLiteral("Label23"));
    packets->move(104, 45);
    packets->adjustSize();
    return panel;
}
