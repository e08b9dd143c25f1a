#include "ui/past_run_start_question.h"

#include "engine/user_prompts.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PastRunStart", text);
}

} // namespace

PastRunStart AskPastRunStart(UserPrompts &prompts) {
    using Role = TPromptChoice::Role;
    const QVector<TPromptChoice> choices = {{Role::Accept, tr("Продолжить это измерение")},
                                            {Role::Accept, tr("Начать новое")},
                                            {Role::Reject, tr("Отмена")}};
    switch (prompts.question(
        TPromptIcon::Question,
        tr("На экране прошлое измерение из журнала. «Продолжить это измерение» "
           "допишет в него новые отсчёты; «Начать новое» начнёт новое измерение с "
           "теми же уставками и частотами, а прошлое останется в журнале как есть."),
        choices, 1)) {
    case 0:
        return PastRunStart::Continue;
    case 1:
        return PastRunStart::StartNew;
    default:
        return PastRunStart::Cancel;
    }
}
