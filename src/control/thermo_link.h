#pragma once

#include "control/device_link.h"
#include "thermo/line_assembler.h"

class DeviceLog;
class QByteArray;
class QDateTime;
class RunEngine;
class TSerComPort;
class ThermoDisplayView;
struct TEventRec;

// The thermometer side of the bench: assembles the lines from portTemp into
// the run engine and the thermometer log, shows the temperature the engine's
// display refresh shows and paints the panel by the link's state.
class TThermoLink : public TDeviceLink {
    Q_OBJECT
public:
    TThermoLink(RunEngine &engine, TSerComPort *portTemp, ThermoDisplayView *display,
                DeviceLog *reLogTemp, QObject *parent = nullptr);

    // OnTriggerAvail of portTemp. Every line the notification completes is
    // logged and stored, readable or not; none of them ends the handler early.
    void portTempTriggerAvail(TSerComPort *cp, quint16 count);

signals:
    // A line with a temperature that can be read was stored.
    void validLineReceived();
    // The display refresh has shown a valid line received at lineTime.
    void temperatureShown(const QDateTime &lineTime, double temperature);

private:
    void takeLine(const QByteArray &line);
    void show(const TEventRec &record);
    void linkChanged(LinkKind kind, const LinkState &state);

    ThermoDisplayView *m_display;
    DeviceLog *m_log;
    // TempLineBuffer: thermometer bytes since the last carriage return.
    TempLineAssembler m_line;
};
