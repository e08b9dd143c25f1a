#include "control/thermo_link.h"

#include "base/cp1251.h"
#include "base/event_log.h"
#include "control/handler_errors.h"
#include "engine/run_engine.h"
#include "serial/ser_com_port.h"
#include "ui/device_log.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"

#include <QLocale>

#include <cmath>
#include <optional>

TThermoLink::TThermoLink(RunEngine &engine, TSerComPort *portTemp, ThermoDisplayView *display,
                         DeviceLog *reLogTemp, QObject *parent)
    : TDeviceLink(engine, LinkKind::Thermometer, portTemp, parent), m_display(display),
      m_log(reLogTemp) {
    connect(&engine, &RunEngine::thermometerShown, this, &TThermoLink::show);
    connect(&engine, &RunEngine::linkChanged, this, &TThermoLink::linkChanged);
    // The watchdog counts from the start, before any port is open, so the
    // panel turns red a period after the start when the thermometer is missing.
    armWatchdog();
}

void TThermoLink::portTempTriggerAvail(TSerComPort * /*cp*/, quint16 count) {
    engine().thermometerNotified();
    for (int i = 0; i < count; ++i) {
        // A port closed while events ran has nothing more to give.
        if (port()->InCount() == 0)
            break;
        char c = 0;
        try {
            c = char(port()->ReadChar());
        } catch (const ESerException &e) {
            logHandlerError("portTempTriggerAvail", e);
            break;
        }
        if (std::optional<QByteArray> line = m_line.feed(c))
            takeLine(*line);
    }
}

void TThermoLink::takeLine(const QByteArray &line) {
    engine().thermometerLine(line);
    TEventRec record;
    engine().store().GetLast(kTempRecord, record);
    m_log->appendLine(LogLine(record, cp1251::decode(line), QLocale::system()));
    if (!std::isnan(engine().temperature()))
        emit validLineReceived();
}

void TThermoLink::show(const TEventRec &record) {
    m_display->setTemperatureText(record.Temp.TempText);
    if (!record.Temp.Valid)
        return;
    m_display->setPanelColor(QColor(panelcolor::LinkOk));
    emit temperatureShown(record.Time, record.Temp.TempValue);
}

// The empty record of a silent link has no fields: the temperature becomes unknown.
void TThermoLink::linkChanged(LinkKind kind, const LinkState &state) {
    if (kind == LinkKind::Thermometer && state.Health == LinkHealth::Lost)
        m_display->setPanelColor(QColor(panelcolor::LinkLost));
}
