#include "ui/thermo_display_view.h"

#include "ui/panel_colors.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QLabel>

namespace {
constexpr int kUnitWidth = 15;
}

ThermoDisplayView::ThermoDisplayView(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlDeviceTempDisplay"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFixedSize(185, 27);
    setPanelColor(QColor(panelcolor::LinkOk));

    const QFont font = uifont::pixelFont(uifont::Face::Terminal, 24);
    const QRect inner = contentsRect();
    const QRect unitRect(inner.right() - kUnitWidth + 1, inner.top(), kUnitWidth, inner.height());
    const QRect valueRect(inner.left(), inner.top(), inner.width() - kUnitWidth, inner.height());

    QLabel *unit = uihelp::placeLabel(this, QStringLiteral("lblDisplayTempC"), QStringLiteral("C"),
                                      font, unitRect.topLeft(), unitRect.size());
    m_value =
        uihelp::placeLabel(this, QStringLiteral("lblDisplayTempValue"), QStringLiteral("-50.56"),
                           font, valueRect.topLeft(), valueRect.size());
    for (QLabel *label : {unit, m_value}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
}

void ThermoDisplayView::setTemperatureText(const QString &text) {
    m_value->setText(text);
}

QString ThermoDisplayView::temperatureText() const {
    return m_value->text();
}

void ThermoDisplayView::setPanelColor(const QColor &colour) {
    uihelp::fillBackground(this, colour);
}

QColor ThermoDisplayView::panelColor() const {
    return palette().color(QPalette::Window);
}
