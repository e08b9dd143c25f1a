#include "ui/widget_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

namespace uihelp {

QLabel *placeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                   QPoint at, QSize size) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->move(at);
    if (size.isValid())
        label->resize(size);
    else
        label->adjustSize();
    return label;
}

// A display panel is painted its colour at every frame of its device; only a
// change of colour should cost a repaint.
void fillBackground(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    if (widget->autoFillBackground() && palette.isBrushSet(QPalette::Active, QPalette::Window) &&
        palette.color(QPalette::Window) == colour)
        return;
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void narrowToFit(QWidget *widget) {
    constexpr int kNarrowest = 85;
    QFont font = widget->font();
    for (int stretch = 100; stretch >= kNarrowest && widget->sizeHint().width() > widget->width();
         stretch -= 3) {
        font.setStretch(stretch);
        widget->setFont(font);
    }
}

void fitFontToWidth(QWidget *widget, const QFont &font, int width, int smallestPixelSize) {
    constexpr int kNarrowest = 85;
    QFont fitted = font;
    widget->setFont(fitted);
    for (int stretch = 100 - 3; stretch >= kNarrowest && widget->sizeHint().width() > width;
         stretch -= 3) {
        fitted.setStretch(stretch);
        widget->setFont(fitted);
    }
    for (int size = fitted.pixelSize() - 1;
         size >= smallestPixelSize && widget->sizeHint().width() > width; --size) {
        fitted.setPixelSize(size);
        widget->setFont(fitted);
    }
}

void bindButton(QAbstractButton *button, QAction *action, bool showCaption) {
    auto sync = [button, action, showCaption] {
        button->setEnabled(action->isEnabled());
        if (showCaption) {
            button->setText(action->text());
            narrowToFit(button);
        }
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

} // namespace uihelp
