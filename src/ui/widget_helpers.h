#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QAbstractButton;
class QAction;
class QLabel;
class QWidget;

namespace uihelp {

// A plain child label at a fixed place; sized to its text unless a size is given.
QLabel *placeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                   QPoint at, QSize size = QSize());

// Gives a widget a solid background of its own.
void fillBackground(QWidget *widget, const QColor &colour);

// The button runs the action when clicked and follows its enabled state; with
// showCaption it also shows the action's caption.
void bindButton(QAbstractButton *button, QAction *action, bool showCaption);

} // namespace uihelp
