#include "ui/key_glyph.h"

#include "ui/ui_fonts.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

void PaintKeyGlyph(QAbstractButton *button, const QColor &faceColour, const QColor &textColour,
                   int margin) {
    const QString caption = button->text();
    button->setText(QString());

    const int w = button->width() - 2 * margin;
    const int h = button->height() - 2 * margin;
    if (w <= 0 || h <= 0)
        return;

    QPixmap glyph(w, h);
    glyph.fill(Qt::transparent);
    {
        QPainter painter(&glyph);
        painter.fillRect(0, 0, w - 1, h - 1, faceColour);
        if (!caption.isEmpty()) {
            const QFont font = uifont::pixelFont(uifont::Face::MsSansSerif, 11, true);
            const QFontMetrics metrics(font);
            painter.setFont(font);
            painter.setPen(textColour);
            const int x = w / 2 - metrics.horizontalAdvance(caption) / 2;
            const int y = h / 2 - metrics.height() / 2;
            painter.drawText(x, y + metrics.ascent(), caption);
        }
    }
    button->setIcon(QIcon(glyph));
    button->setIconSize(glyph.size());
}
