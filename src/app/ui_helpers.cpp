#include "app/ui_helpers.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

void LetPendingEventsRun()
{
    QCoreApplication::processEvents();
}

void ShowNotice(QWidget *parent, const QString &text)
{
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Utility for Tamrel");
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
