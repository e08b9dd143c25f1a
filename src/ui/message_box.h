#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// A modal message box titled with the program's title, with the given icon
// and buttons; returns the button the user chose.
QMessageBox::StandardButton ShowMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons);

// A plain modal message box with an OK button; returns when the user closes it.
void ShowNotice(QWidget *parent, const QString &text);
