#include "ui/display_panel.h"

#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QLabel>

namespace {
constexpr int kMargin = 6;
constexpr int kMeterTop = 3;
constexpr int kMeterHeight = 167;
// Distance of the caption's bottom edge to the panel's bottom edge.
constexpr int kCaptionBottomGap = 8;
} // namespace

DisplayPanel::DisplayPanel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlDisplay"));
    setMinimumSize(300, 200);
    uihelp::fillBackground(this, QColor(panelcolor::FrontPanel));

    m_meter = new MeterDisplayView(this);
    m_meter->move(kMargin, kMeterTop);
    m_thermo = new ThermoDisplayView(this);
    m_thermo->move(kMargin, 174);
    m_caption = uihelp::placeLabel(this, QStringLiteral("lblDeviceModelCaption"),
                                   tr("Измеритель иммитанса Tamrel"),
                                   uifont::pixelFont(uifont::Face::Tahoma, 11, true), {196, 181});
}

void DisplayPanel::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_meter->setGeometry(kMargin, kMeterTop, width() - 2 * kMargin, kMeterHeight);
    m_caption->move(width() - kMargin - m_caption->width(),
                    height() - kCaptionBottomGap - m_caption->height());
}
