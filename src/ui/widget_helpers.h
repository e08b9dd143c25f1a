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

// Narrows the font of a widget whose text does not fit its fixed width, down
// to a limit, keeping the character height (a substitute face may be wider
// than the one the layout was made for).
void narrowToFit(QWidget *widget);

// Sets the widget's font to `font` and, when the text is wider than `width`,
// narrows it and then lowers its pixel size (not below `smallestPixelSize`)
// until the text fits.
void fitFontToWidth(QWidget *widget, const QFont &font, int width, int smallestPixelSize);

// The button runs the action when clicked and follows its enabled state; with
// showCaption it also shows the action's caption.
void bindButton(QAbstractButton *button, QAction *action, bool showCaption);

} // namespace uihelp
