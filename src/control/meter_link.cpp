#include "control/meter_link.h"

#include "base/event_log.h"
#include "control/freq_stepper.h"
#include "control/handler_errors.h"
#include "control/pending_events.h"
#include "control/timers.h"
#include "meter/frame_scan.h"
#include "meter/mode_marks.h"
#include "model/app_state.h"
#include "serial/ser_com_port.h"
#include "ui/device_log.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"

#include <QAction>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

// Positions in a frame (and in a meter record's RawData).
constexpr int kMainCodeByte = 10;
// Main parameter code of a current measurement: no secondary quantity shown.
constexpr uint8_t kCurrentCode = 14;

} // namespace

TMeterLink::TMeterLink(TAppState &state, TSerComPort *portIM, MeterDisplayView *display,
                       DeviceLog *reLogIM, QList<QAction *> keypadActions, QObject *parent)
    : TDeviceLink(portIM, "tmrDisplayIM", "tmrIMError", parent), m_state(state), m_display(display),
      m_log(reLogIM), m_keypadActions(std::move(keypadActions)) {
    connect(tmrDisplayIM(), &QTimer::timeout, this, &TMeterLink::tmrDisplayIMTimer);
    connect(tmrIMError(), &QTimer::timeout, this, &TMeterLink::tmrIMErrorTimer);
}

void TMeterLink::setCaptureReading(std::function<void(const TEventRec &)> capture) {
    m_captureReading = std::move(capture);
}

namespace {

// No key goes out while a notification is being read, whichever way it ends.
class StepHold {
public:
    explicit StepHold(TFreqStepper *stepper) : m_stepper(stepper) {
        if (m_stepper)
            m_stepper->holdStep();
    }
    ~StepHold() {
        if (m_stepper)
            m_stepper->resumeStep();
    }
    StepHold(const StepHold &) = delete;
    StepHold &operator=(const StepHold &) = delete;

private:
    TFreqStepper *m_stepper;
};

} // namespace

// Every notification stops the display refresh; only an accepted frame starts
// it again, so it runs in the pause after a frame. A meter may send faster
// than the refresh's period (at 9600 baud up to 43 frames a second), and the
// display would then stand still and no reading be taken for as long as it
// does: a frame that no refresh has shown yet keeps the refresh's period
// running through the notifications that follow it. The stepper keeps its
// own pace the same way (TFreqStepper).
void TMeterLink::portIMTrigger(TSerComPort * /*cp*/, quint16 /*msg*/, quint16 /*handle*/,
                               quint16 data) {
    if (!port()->isOpen())
        return;
    const StepHold hold(m_stepper);
    LetPendingEventsRun();

    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = QDateTime::currentDateTime();

    if (!refreshOwed())
        setTimerEnabled(tmrDisplayIM(), false);
    LetPendingEventsRun();

    QByteArray window;
    try {
        const int waiting = port()->InCount();
        if (waiting < kFrameSize)
            return;
        window.resize(std::min(waiting, kReceiveWindow));
        port()->ReadBlock(window.data(), quint16(window.size()));
    } catch (const ESerException &e) {
        logHandlerError("portIMTrigger: reading the frame window", e);
        return;
    }

    for (const MeterFrame &frame : scanReceiveWindow(window, data)) {
        E.RawData = frameToRawData(frame);
        acceptFrame(E);
    }
}

void TMeterLink::acceptFrame(TEventRec &E) {
    setTimerEnabled(tmrIMError(), false);
    LetPendingEventsRun();
    // Whatever waits behind the frame is older than the display it shows.
    try {
        port()->ClearInput();
    } catch (const ESerException &e) {
        logHandlerError("portIMTrigger: clearing the input", e);
    }
    m_log->appendLine(LogLine(E, RawToHex(E), QLocale::system()));
    m_state.EventStore.AddEvent(E);
    m_state.FreqAfterKeyPress = m_state.EventStore.LastFrequency();
    LetPendingEventsRun();

    if (!refreshOwed())
        restartTimer(tmrDisplayIM());
    m_frameNotShown = true;
    restartTimer(tmrIMError());
    LetPendingEventsRun();

    markData(E.Time);
    setLinkHealth(LinkHealth::Receiving);
    m_display->setPanelColor(QColor(panelcolor::LinkOk));
    if (m_stepper)
        m_stepper->frameAccepted();
    m_display->toggleFlash();
    emit frameAccepted();
}

bool TMeterLink::refreshOwed() const {
    return m_frameNotShown && tmrDisplayIM()->isActive();
}

void TMeterLink::tmrDisplayIMTimer() {
    m_frameNotShown = false;
    if (m_state.EventStore.LastFrequency() <= 0) {
        setLinkHealth(LinkHealth::Lost);
        m_display->setPanelColor(QColor(panelcolor::LinkLost));
    } else {
        TEventRec E;
        if (!m_state.EventStore.GetLast(kMeterRecord, E))
            return;
        try {
            ShowMeterEvent(E);
            if (m_captureReading)
                m_captureReading(E);
        } catch (const std::exception &e) {
            logHandlerError("tmrDisplayIMTimer", e);
        }
    }
    // A frequency key the meter has not taken: the frames still report the
    // frequency at which it was pressed.
    const int32_t before = m_state.FreqAtKeyPress;
    const int32_t after = m_state.FreqAfterKeyPress;
    if (before != 0 && after != 0 && before == after)
        m_display->setPanelColor(QColor(panelcolor::KeyPending));
}

// The watchdog's empty record decodes to frequency 0, which keeps the refresh
// painting red (and showing nothing) until a real frame is stored.
void TMeterLink::tmrIMErrorTimer() {
    setLinkHealth(LinkHealth::Lost);
    m_display->setPanelColor(QColor(panelcolor::LinkLost));
    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = QDateTime::currentDateTime();
    m_state.EventStore.AddEvent(E);
    m_state.FreqAfterKeyPress = m_state.EventStore.LastFrequency();
}

// A lost link keeps the last reading on the labels.
void TMeterLink::ShowMeterEvent(const TEventRec &E) {
    if (E.Status == 1 || isLinkLost())
        return;
    m_display->setSecondaryVisible(E.RawData[kMainCodeByte] != kCurrentCode);
    for (const auto &mark : modemarks::kBits)
        m_display->setModeMarkVisible(mark.first, modemarks::isOn(E.RawData, mark.first));

    using Field = MeterDisplayView::Field;
    const TIMPacket &p = E.IM;
    const QChar blank(QLatin1Char(' '));
    m_display->setCaption(Field::DQ, p.SecName);
    m_display->setCaption(Field::RLCValue, p.MainValue + blank + p.MainUnit);
    m_display->setCaption(Field::RLC, p.MainName);
    m_display->setCaption(Field::DQValue, p.SecValue + blank + p.SecUnit);
    m_display->setCaption(Field::Limit, p.LimitText);
    m_display->setCaption(Field::Level, p.LevelText);
    m_display->setCaption(Field::Frequency, p.FreqText);
    m_display->setCaption(Field::Offset, p.OffsetText);
    m_display->setCaption(Field::Value1, p.MainBase);
    m_display->setCaption(Field::Value2, p.SecBase);
}

void TMeterLink::SendKey(uint8_t code) {
    if (!port()->isOpen())
        return;
    m_state.FreqAtKeyPress =
        meterkey::isFrequencyKey(code) ? m_state.EventStore.LastFrequency() : 0;
    m_state.FreqAfterKeyPress = 0;
    try {
        port()->WriteChar(code);
    } catch (const ESerException &e) {
        logHandlerError("SendKey", e);
        return;
    }
    m_state.EventStore.ResetKeyCounter();
}

void TMeterLink::SetKeypadEnabled(bool enabled) {
    for (QAction *action : std::as_const(m_keypadActions))
        action->setEnabled(enabled);
}
