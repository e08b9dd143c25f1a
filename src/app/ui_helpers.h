#pragma once

#include <QString>

class QWidget;

// Lets the window events that are waiting run now: timers and the other
// port's notifications may run inside the caller. Every such re-entry point
// of the program goes through this one function.
void LetPendingEventsRun();

// A plain modal message box with an OK button, titled with the program's
// title; returns when the user closes it.
void ShowNotice(QWidget *parent, const QString &text);
