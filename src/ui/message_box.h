#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The title of the program's message boxes: the application's display name.
QString MessageBoxTitle();

// Captions the box's Yes, No and Cancel buttons in Russian, whatever the
// system's language.
void CaptionInRussian(QMessageBox &box);

// A modal message box titled with the program's title, with the given icon
// and buttons; returns the button the user chose. Enter chooses
// defaultButton (without one, the box picks its accepting button).
QMessageBox::StandardButton
ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text,
            QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A plain modal message box with an OK button; returns when the user closes it.
void ShowNotice(QWidget *parent, const QString &text);
