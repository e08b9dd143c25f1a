#include "ui/rounded_panel.h"

#include <QPainterPath>
#include <QRegion>
#include <QResizeEvent>

RoundedPanel::RoundedPanel(int cornerDiameter, QWidget *parent)
    : QWidget(parent), m_cornerDiameter(cornerDiameter) {}

void RoundedPanel::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    pnlButtons12Resize();
}

// The outline spans (0, 0) to (width - 1, height - 1), right and bottom edges
// excluded, as a window region of a rounded rectangle does.
void RoundedPanel::pnlButtons12Resize() {
    const qreal radius = m_cornerDiameter / 2.0;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width() - 1, height() - 1), radius, radius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    update();
}
