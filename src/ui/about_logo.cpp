#include "ui/about_logo.h"

#include "settings/data_folder.h"
#include "ui/ui_fonts.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

void drawCapacitor(QPainter &p, QRectF box) {
    const qreal midY = box.center().y();
    const qreal gap = box.width() * 0.12;
    const qreal plateX1 = box.center().x() - gap / 2;
    const qreal plateX2 = box.center().x() + gap / 2;
    const qreal plateHalf = box.height() * 0.38;

    p.setPen(QPen(QColor(230, 240, 255), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(box.left(), midY), QPointF(plateX1, midY));
    p.drawLine(QPointF(plateX2, midY), QPointF(box.right(), midY));
    p.setPen(QPen(QColor(255, 210, 90), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(plateX1, midY - plateHalf), QPointF(plateX1, midY + plateHalf));
    p.drawLine(QPointF(plateX2, midY - plateHalf), QPointF(plateX2, midY + plateHalf));
}

void drawSine(QPainter &p, QRectF box) {
    QPainterPath wave;
    const int steps = 80;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = qreal(i) / steps;
        const QPointF point(box.left() + t * box.width(),
                            box.center().y() - std::sin(t * 4 * M_PI) * box.height() / 2);
        if (i == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    p.setPen(QPen(QColor(120, 230, 170), 2));
    p.drawPath(wave);
}

} // namespace

QPixmap drawProgramLogo(QSize size) {
    QPixmap logo(size);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(16, 38, 92));
    sky.setColorAt(1, QColor(24, 118, 150));
    p.fillRect(QRect(QPoint(0, 0), size), sky);

    const qreal h = size.height();
    drawCapacitor(p, QRectF(h * 0.2, h * 0.15, h * 0.9, h * 0.7));
    drawSine(p, QRectF(h * 1.25, h * 0.3, h * 0.8, h * 0.4));

    const QRectF textArea(h * 2.3, 0, size.width() - h * 2.4, h);
    int pixels = int(h * 0.32);
    QFont title = uifont::pixelFont(uifont::Face::Tahoma, pixels, true);
    while (pixels > 6 && QFontMetrics(title).horizontalAdvance(ProgramName()) > textArea.width()) {
        title.setPixelSize(--pixels);
    }
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, ProgramName());
    return logo;
}
