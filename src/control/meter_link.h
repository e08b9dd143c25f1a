#pragma once

#include "base/event_rec.h"
#include "control/device_link.h"
#include "meter/key_codes.h"

#include <QList>

#include <cstdint>
#include <functional>

class DeviceLog;
class MeterDisplayView;
class QAction;
class QTimer;
class TFreqStepper;
class TSerComPort;
struct TAppState;

// The meter side of the bench: takes the display frames from portIM into the
// event store and the meter log, mirrors the newest one on the display
// replica, watches the link and sends the keypad's codes. Its timers are
// tmrDisplayIM (the display refresh) and tmrIMError (the watchdog).
class TMeterLink : public TDeviceLink {
    Q_OBJECT
public:
    // keypadActions: F1 to F4, then the twelve keys.
    TMeterLink(TAppState &state, TSerComPort *portIM, MeterDisplayView *display, DeviceLog *reLogIM,
               QList<QAction *> keypadActions, QObject *parent = nullptr);

    QTimer *tmrDisplayIM() const { return displayTimer(); }
    QTimer *tmrIMError() const { return watchdogTimer(); }

    // OnTrigger of portIM; data is the unread count the notification reports.
    void portIMTrigger(TSerComPort *cp, quint16 msg, quint16 handle, quint16 data);
    void tmrDisplayIMTimer();
    void tmrIMErrorTimer();
    void ShowMeterEvent(const TEventRec &E);

    // Writes one key code to the meter. A closed port loses the key; a write
    // that fails is dropped.
    void SendKey(uint8_t code);
    void SetKeypadEnabled(bool enabled);

    // What the display refresh hands each shown record to (the reading
    // capture of a run); nothing while unset.
    void setCaptureReading(std::function<void(const TEventRec &)> capture);
    // The stepper whose key timer each notification holds and each accepted
    // frame makes due, so that every key follows a fresh frame.
    void setFreqStepper(TFreqStepper *stepper) { m_stepper = stepper; }

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
    void acceptFrame(TEventRec &E);
    // The refresh is running for a frame it has not shown yet.
    bool refreshOwed() const;

    TAppState &m_state;
    MeterDisplayView *m_display;
    DeviceLog *m_log;
    QList<QAction *> m_keypadActions;
    std::function<void(const TEventRec &)> m_captureReading;
    TFreqStepper *m_stepper = nullptr;
    bool m_frameNotShown = false;
};
