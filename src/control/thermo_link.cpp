#include "control/thermo_link.h"

#include "base/cp1251.h"
#include "base/event_log.h"
#include "control/handler_errors.h"
#include "control/pending_events.h"
#include "control/timers.h"
#include "model/app_state.h"
#include "serial/ser_com_port.h"
#include "thermo/temp_parse.h"
#include "ui/device_log.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"

#include <QLocale>
#include <QTimer>

#include <cmath>
#include <exception>
#include <optional>
#include <utility>

TThermoLink::TThermoLink(TAppState &state, TSerComPort *portTemp, ThermoDisplayView *display,
                         DeviceLog *reLogTemp, QObject *parent)
    : TDeviceLink(portTemp, "tmrDisplayTemp", "tmrTempError", parent), m_state(state),
      m_display(display), m_log(reLogTemp) {
    connect(tmrDisplayTemp(), &QTimer::timeout, this, &TThermoLink::tmrDisplayTempTimer);
    connect(tmrTempError(), &QTimer::timeout, this, &TThermoLink::tmrTempErrorTimer);
}

void TThermoLink::setCaptureActualTemperature(std::function<void(double)> capture) {
    m_captureActualTemperature = std::move(capture);
}

// The watchdog is switched off at each completed line and on again at the end,
// so its period restarts only in a notification that completes a line.
void TThermoLink::portTempTriggerAvail(TSerComPort * /*cp*/, quint16 count) {
    setTimerEnabled(tmrDisplayTemp(), false);
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
        if (std::optional<QByteArray> line = m_state.TempLine.feed(c))
            takeLine(*line);
    }
    setTimerEnabled(tmrTempError(), true);
}

void TThermoLink::takeLine(const QByteArray &line) {
    setTimerEnabled(tmrTempError(), false);
    LetPendingEventsRun();
    const TEventRec record = TempRecordFromLine(line, QDateTime::currentDateTime());
    markData(record.Time);
    m_log->appendLine(LogLine(record, cp1251::decode(line), QLocale::system()));
    setTimerEnabled(tmrDisplayTemp(), true);
    m_state.EventStore.AddEvent(record);
    if (!std::isnan(m_state.EventStore.LastTemperature()))
        emit validLineReceived();
}

void TThermoLink::tmrDisplayTempTimer() {
    TEventRec R;
    m_state.EventStore.GetLast(kTempRecord, R);
    m_display->setTemperatureText(R.Temp.TempText);
    if (!R.Temp.Valid)
        return;
    setLinkHealth(LinkHealth::Receiving);
    m_display->setPanelColor(QColor(panelcolor::LinkOk));
    emit temperatureShown(R.Time, R.Temp.TempValue);
    try {
        if (m_captureActualTemperature)
            m_captureActualTemperature(m_state.EventStore.LastTemperature());
    } catch (const std::exception &e) {
        logHandlerError("tmrDisplayTempTimer", e);
    }
}

// The empty record has no fields, so it is stored as not valid and the
// temperature becomes unknown.
void TThermoLink::tmrTempErrorTimer() {
    setLinkHealth(LinkHealth::Lost);
    m_display->setPanelColor(QColor(panelcolor::LinkLost));
    TEventRec record;
    record.Kind = kTempRecord;
    record.Time = QDateTime::currentDateTime();
    m_state.EventStore.AddEvent(record);
}
