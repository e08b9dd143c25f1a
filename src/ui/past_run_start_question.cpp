#include "ui/past_run_start_question.h"

#include "ui/message_box.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PastRunStart", text);
}

} // namespace

PastRunStart AskPastRunStart(QWidget *parent) {
    QMessageBox box(QMessageBox::Question, MessageBoxTitle(),
                    tr("На экране прошлое измерение из журнала. «Продолжить это измерение» "
                       "допишет в него новые отсчёты; «Начать новое» начнёт новое измерение с "
                       "теми же уставками и частотами, а прошлое останется в журнале как есть."),
                    QMessageBox::NoButton, parent);
    QPushButton *resume = box.addButton(tr("Продолжить это измерение"), QMessageBox::AcceptRole);
    QPushButton *fresh = box.addButton(tr("Начать новое"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(fresh);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == resume)
        return PastRunStart::Continue;
    if (box.clickedButton() == fresh)
        return PastRunStart::StartNew;
    return PastRunStart::Cancel;
}
