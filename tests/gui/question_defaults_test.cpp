// What Enter does where it could cost data: in the list of past runs it opens
// the selected run, a question that destroys something answers "Нет" (or
// "Отмена"), and a start on a past run begins a new one.
#include "run_window_support.h"

#include "control/table_preparation.h"
#include "ui/dialog_prompts.h"
#include "ui/past_run_start_question.h"
#include "ui/past_runs_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

// Runs `act` on the message box that the next modal call shows.
void onNextMessageBox(const std::function<void(QMessageBox &)> &act) {
    QTimer::singleShot(0, [act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box) << "no message box came up";
        act(*box);
    });
}

void pressEnter(QMessageBox &box) {
    QTest::keyClick(&box, Qt::Key_Return);
}

TEST(QuestionDefaults, EnterInThePastRunsOpensTheSelectedRun) {
    PastRunsDialog dialog;
    TJournalRunSummary newest, older;
    newest.Id = 7;
    older.Id = 3;
    dialog.setRuns({newest, older}, 0);
    QStringList requests;
    QObject::connect(&dialog, &PastRunsDialog::openRequested,
                     [&](qint64 id) { requests << QStringLiteral("open %1").arg(id); });
    QObject::connect(&dialog, &PastRunsDialog::deleteRequested,
                     [&](qint64 id) { requests << QStringLiteral("delete %1").arg(id); });
    dialog.show();
    dialog.list()->selectRow(1);
    QTest::keyClick(dialog.list(), Qt::Key_Return);
    EXPECT_EQ(requests, QStringList{QStringLiteral("open 3")});
}

TEST(QuestionDefaults, EnterOnADestroyingQuestionAnswersNo) {
    QString defaultCaption;
    onNextMessageBox([&](QMessageBox &box) {
        defaultCaption = box.defaultButton() ? box.defaultButton()->text() : QString();
        pressEnter(box);
    });
    DialogPrompts prompts(nullptr);
    EXPECT_FALSE(askYesNo(prompts, QStringLiteral("Удалить?"), true));
    EXPECT_EQ(defaultCaption, QStringLiteral("Нет"));

    onNextMessageBox([](QMessageBox &box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(askYesNo(prompts, QStringLiteral("Удалить?"), true));
}

TEST(QuestionDefaults, EnterOnAPastRunStartBeginsANewRun) {
    const QString continueCaption = QStringLiteral("Продолжить это измерение");
    struct Case {
        const char *name;
        std::function<void(QMessageBox &)> answer;
        PastRunStart expected;
    };
    const Case cases[] = {
        {"Enter", pressEnter, PastRunStart::StartNew},
        {"Escape", [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); },
         PastRunStart::Cancel},
        {"a click on continuing",
         [&](QMessageBox &box) {
             for (QAbstractButton *button : box.buttons())
                 if (button->text() == continueCaption)
                     button->click();
         },
         PastRunStart::Continue},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList captions;
        onNextMessageBox([&](QMessageBox &box) {
            for (QAbstractButton *button : box.buttons())
                captions << button->text();
            c.answer(box);
        });
        DialogPrompts prompts(nullptr);
        EXPECT_EQ(AskPastRunStart(prompts), c.expected);
        captions.sort();
        EXPECT_EQ(captions, QStringList({QStringLiteral("Начать новое"), QStringLiteral("Отмена"),
                                         continueCaption}));
    }
}

// The window's questions shown as the program shows them.
class TableQuestionTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        prompts.onQuestion = [this](const ScriptedPrompts::Ask &ask) {
            return dialogs.question(ask.icon, ask.text, ask.choices, ask.defaultChoice);
        };
    }
    DialogPrompts dialogs{nullptr};
};

// "Внимание, текущие данные будут удалены!" with Enter keeps the table.
TEST_F(TableQuestionTest, EnterOnTheDataLossWarningKeepsTheTable) {
    TTablePreparation &table = *window->tablePreparation();
    table.setTableTag(1);
    setCell(rowOf(20), columnOf(1000), QStringLiteral("Cp 100,00 nF;---------; D 0,0050"));
    QString defaultCaption;
    onNextMessageBox([&](QMessageBox &box) {
        defaultCaption = box.defaultButton() ? box.defaultButton()->text() : QString();
        pressEnter(box);
    });
    window->actions().actApplySettiingsTempAndGrid->trigger();
    EXPECT_EQ(defaultCaption, QStringLiteral("Отмена"));
    EXPECT_EQ(state().LastDialogResult, int(TPromptChoice::Role::Cancel));
    EXPECT_EQ(table.tableTag(), 1);
    EXPECT_FALSE(cell(rowOf(20), columnOf(1000)).isEmpty());
}

} // namespace
