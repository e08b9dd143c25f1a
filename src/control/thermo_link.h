#pragma once

#include "control/device_link.h"

#include <functional>

class DeviceLog;
class QByteArray;
class QDateTime;
class QTimer;
class TSerComPort;
class ThermoDisplayView;
struct TAppState;

// The thermometer side of the bench: assembles the lines from portTemp into
// the event store and the thermometer log, shows the newest temperature and
// watches the link. Its timers are tmrDisplayTemp (the display refresh) and
// tmrTempError (the watchdog).
class TThermoLink : public TDeviceLink {
    Q_OBJECT
public:
    TThermoLink(TAppState &state, TSerComPort *portTemp, ThermoDisplayView *display,
                DeviceLog *reLogTemp, QObject *parent = nullptr);

    QTimer *tmrDisplayTemp() const { return displayTimer(); }
    QTimer *tmrTempError() const { return watchdogTimer(); }

    // OnTriggerAvail of portTemp. Every line the notification completes is
    // logged and stored, readable or not; none of them ends the handler early.
    void portTempTriggerAvail(TSerComPort *cp, quint16 count);
    void tmrDisplayTempTimer();
    void tmrTempErrorTimer();

    // What the display refresh hands the temperature of each valid line to
    // (the actual-temperature capture of a run); nothing while unset.
    void setCaptureActualTemperature(std::function<void(double)> capture);

signals:
    // A line with a temperature that can be read was stored.
    void validLineReceived();
    // The display refresh has shown a valid line received at lineTime.
    void temperatureShown(const QDateTime &lineTime, double temperature);

private:
    void takeLine(const QByteArray &line);

    TAppState &m_state;
    ThermoDisplayView *m_display;
    DeviceLog *m_log;
    std::function<void(double)> m_captureActualTemperature;
};
