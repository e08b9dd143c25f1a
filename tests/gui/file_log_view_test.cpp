// The file log shows a saved text as the read-only plain text edit it took
// over from did: the same lines, the same picture, the same scroll ranges,
// and a selection that is copied as text.
#include "ui/file_log_view.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPlainTextEdit *makeEdit() {
    auto *edit = new QPlainTextEdit;
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
}

TEST(FileLogView, GivesItsLinesBackAsTheEditDid) {
    const char *texts[] = {"",       "x",        "x\r\n",  "a\r\nb",         "a\rb",
                           "a\n\nb", "\r\n\r\n", "\r\r\n", "a;\r\r\nb;\r\n", "Cp;\r\nt;100;1000;"};
    std::unique_ptr<QPlainTextEdit> edit(makeEdit());
    FileLogView view;
    for (const char *text : texts) {
        SCOPED_TRACE(QByteArray(text).toHex().toStdString());
        edit->setPlainText(QString::fromLatin1(text));
        view.setPlainText(QString::fromLatin1(text));
        EXPECT_EQ(view.toPlainText(), edit->toPlainText());
    }
}

// Two lines in five are wider than the box, so both bars are needed.
QString savedText() {
    QString text;
    for (int row = 0; row < 40; ++row) {
        text += QStringLiteral("%1;1,2345E-9;0,0123;").arg(row * 7 - 50);
        if (row % 5 == 0)
            text += QStringLiteral("Cp/D;Limit = A 100kOm;Offset = 0,00V;Level = 1,00V;");
        text += QStringLiteral("\r\n");
    }
    return text;
}

TEST(FileLogView, LooksAndScrollsLikeTheEdit) {
    std::unique_ptr<QPlainTextEdit> edit(makeEdit());
    FileLogView view;
    const QString text = savedText();
    for (QAbstractScrollArea *area : {static_cast<QAbstractScrollArea *>(edit.get()),
                                      static_cast<QAbstractScrollArea *>(&view)}) {
        area->resize(300, 118);
        area->show();
    }
    edit->setPlainText(text);
    view.setPlainText(text);
    QApplication::processEvents();

    // At the top, at the bottom, and scrolled into the middle and across.
    const std::pair<int, int> places[] = {{0, 0}, {-1, 0}, {7, 40}};
    for (const auto &[down, across] : places) {
        SCOPED_TRACE(down);
        for (QAbstractScrollArea *area : {static_cast<QAbstractScrollArea *>(edit.get()),
                                          static_cast<QAbstractScrollArea *>(&view)}) {
            QScrollBar *bar = area->verticalScrollBar();
            bar->setValue(down < 0 ? bar->maximum() : down);
            area->horizontalScrollBar()->setValue(across);
        }
        QApplication::processEvents();
        EXPECT_EQ(view.verticalScrollBar()->maximum(), edit->verticalScrollBar()->maximum());
        EXPECT_EQ(view.verticalScrollBar()->value(), edit->verticalScrollBar()->value());
        EXPECT_EQ(view.horizontalScrollBar()->maximum(), edit->horizontalScrollBar()->maximum());
        EXPECT_TRUE(view.grab().toImage() == edit->grab().toImage());
    }
}

TEST(FileLogView, ASelectionIsCopiedAsText) {
    FileLogView view;
    view.resize(300, 118);
    view.show();
    view.setPlainText(QStringLiteral("Cp;\r\nt;100;1000;\r\n-50;1,52E-9;1,51E-9;\r\n"));
    QApplication::processEvents();
    EXPECT_TRUE(view.selectedText().isEmpty());

    // From the start of the second line to the middle of the third.
    QWidget *surface = view.viewport();
    const int line = view.fontMetrics().height();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(2, 4 + line + line / 2));
    QTest::mouseMove(surface,
                     QPoint(view.fontMetrics().horizontalAdvance(QStringLiteral("-50;1")) + 4,
                            4 + 2 * line + line / 2));
    QTest::mouseRelease(surface, Qt::LeftButton, {},
                        QPoint(view.fontMetrics().horizontalAdvance(QStringLiteral("-50;1")) + 4,
                               4 + 2 * line + line / 2));
    EXPECT_EQ(view.selectedText(), QStringLiteral("t;100;1000;\n-50;1"));

    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("t;100;1000;\n-50;1"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText(), view.toPlainText());

    // A new text starts with nothing selected.
    view.setPlainText(QStringLiteral("x"));
    EXPECT_TRUE(view.selectedText().isEmpty());
}

} // namespace
