// The program's message boxes: its title, and Russian buttons whatever the
// system's language.
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(MessageBox, QuestionsAnswerInRussianAndReturnTheChosenButton) {
    QStringList captions;
    QString title;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        title = box->windowTitle();
        for (QAbstractButton *button : box->buttons())
            captions << button->text();
        box->button(QMessageBox::No)->click();
    });
    const QMessageBox::StandardButton answer =
        ShowMessage(nullptr, QMessageBox::Question, QStringLiteral("Восстановить?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(answer, QMessageBox::No);
    captions.sort();
    EXPECT_EQ(captions, QStringList({"Да", "Нет", "Отмена"}));
    EXPECT_FALSE(title.isEmpty());
}

} // namespace
