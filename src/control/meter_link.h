#pragma once

#include "base/event_rec.h"
#include "control/device_link.h"
#include "meter/key_codes.h"

#include <QList>

#include <array>
#include <cstdint>

class DeviceLog;
class MeterDisplayView;
class QAction;
class RunEngine;
class TSerComPort;

// The meter side of the bench: takes the display frames from portIM into the
// run engine and the meter log, mirrors what the engine's display refresh
// shows on the replica, paints the panel by the link's state and writes the
// keypad's codes to the meter.
class TMeterLink : public TDeviceLink {
    Q_OBJECT
public:
    // keypadActions: F1 to F4, then the twelve keys.
    TMeterLink(RunEngine &engine, TSerComPort *portIM, MeterDisplayView *display,
               DeviceLog *reLogIM, QList<QAction *> keypadActions, QObject *parent = nullptr);

    // OnTrigger of portIM; data is the unread count the notification reports.
    void portIMTrigger(TSerComPort *cp, quint16 msg, quint16 handle, quint16 data);
    void ShowMeterEvent(const TEventRec &E);

    // Presses one key through the engine. A closed port loses the key; a
    // write that fails is dropped.
    void SendKey(uint8_t code);
    void SetKeypadEnabled(bool enabled);
    // What the engine's key sender does: false when the key did not go out.
    bool writeKey(uint8_t code);

signals:
    // A display frame from the meter was accepted into the event store.
    void frameAccepted();

public:
    void actCMDF1Execute() { SendKey(meterkey::F1); }
    void actCMDF2Execute() { SendKey(meterkey::F2); }
    void actCMDF3Execute() { SendKey(meterkey::F3); }
    void actCMDF4Execute() { SendKey(meterkey::F4); }
    void actCMD1CExecute() { SendKey(meterkey::C); }
    void actCMD2LExecute() { SendKey(meterkey::L); }
    void actCMD3RExecute() { SendKey(meterkey::R); }
    void actCMD4DQExecute() { SendKey(meterkey::I); }
    void actCMD5UPExecute() { SendKey(meterkey::Up); }
    void actCMD6MenuExecute() { SendKey(meterkey::Z); }
    void actCMD7LEFTExecute() { SendKey(meterkey::Left); }
    void actCMD8EnterExecute() { SendKey(meterkey::Enter); }
    void actCMD9RightExecute() { SendKey(meterkey::Right); }
    void actCMD10XXExecute() { SendKey(meterkey::XX); }
    void actCMD11DOWNExecute() { SendKey(meterkey::Down); }
    void actCMD12X3Execute() { SendKey(meterkey::Menu); }

private:
    void acceptFrame(const std::array<uint8_t, 60> &rawData);
    void refreshed();
    void linkChanged(LinkKind kind, const LinkState &state);

    MeterDisplayView *m_display;
    DeviceLog *m_log;
    QList<QAction *> m_keypadActions;
};
