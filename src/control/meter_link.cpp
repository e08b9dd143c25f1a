#include "control/meter_link.h"

#include "base/event_log.h"
#include "control/handler_errors.h"
#include "engine/run_engine.h"
#include "meter/frame_scan.h"
#include "meter/mode_marks.h"
#include "serial/ser_com_port.h"
#include "ui/device_log.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"

#include <QAction>
#include <QLocale>

#include <algorithm>
#include <utility>

namespace {

// Positions in a frame (and in a meter record's RawData).
constexpr int kMainCodeByte = 10;
// Main parameter code of a current measurement: no secondary quantity shown.
constexpr uint8_t kCurrentCode = 14;

} // namespace

TMeterLink::TMeterLink(RunEngine &engine, TSerComPort *portIM, MeterDisplayView *display,
                       DeviceLog *reLogIM, QList<QAction *> keypadActions, QObject *parent)
    : TDeviceLink(engine, LinkKind::Meter, portIM, parent), m_display(display), m_log(reLogIM),
      m_keypadActions(std::move(keypadActions)) {
    connect(&engine, &RunEngine::meterShown, this, &TMeterLink::ShowMeterEvent);
    connect(&engine, &RunEngine::meterRefreshed, this, &TMeterLink::refreshed);
    connect(&engine, &RunEngine::linkChanged, this, &TMeterLink::linkChanged);
    // The watchdog counts from the start, before any port is open, so the
    // panel turns red a period after the start when the meter is missing.
    armWatchdog();
}

// A meter may send faster than the refresh's period (at 9600 baud up to 43
// frames a second): the engine keeps a refresh owed to a frame it has not
// shown running through the notifications that follow, so that the display
// still moves and readings are still taken.
void TMeterLink::portIMTrigger(TSerComPort * /*cp*/, quint16 /*msg*/, quint16 /*handle*/,
                               quint16 data) {
    if (!port()->isOpen())
        return;
    engine().meterNotified();

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

    for (const MeterFrame &frame : scanReceiveWindow(window, data))
        acceptFrame(frameToRawData(frame));
}

void TMeterLink::acceptFrame(const std::array<uint8_t, 60> &rawData) {
    // Whatever waits behind the frame is older than the display it shows.
    try {
        port()->ClearInput();
    } catch (const ESerException &e) {
        logHandlerError("portIMTrigger: clearing the input", e);
    }
    engine().meterFrame(rawData);
    TEventRec E;
    engine().store().GetLast(kMeterRecord, E);
    m_log->appendLine(LogLine(E, RawToHex(E), QLocale::system()));
    m_display->setPanelColor(QColor(panelcolor::LinkOk));
    m_display->toggleFlash();
    emit frameAccepted();
}

// A frequency key the meter has not taken: the frames still report the
// frequency at which it was pressed.
void TMeterLink::refreshed() {
    if (engine().keyPending())
        m_display->setPanelColor(QColor(panelcolor::KeyPending));
}

void TMeterLink::linkChanged(LinkKind kind, const LinkState &state) {
    if (kind == LinkKind::Meter && state.Health == LinkHealth::Lost)
        m_display->setPanelColor(QColor(panelcolor::LinkLost));
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
    engine().pressKey(code);
}

bool TMeterLink::writeKey(uint8_t code) {
    if (!port()->isOpen())
        return false;
    try {
        port()->WriteChar(code);
    } catch (const ESerException &e) {
        logHandlerError("SendKey", e);
        return false;
    }
    return true;
}

void TMeterLink::SetKeypadEnabled(bool enabled) {
    for (QAction *action : std::as_const(m_keypadActions))
        action->setEnabled(enabled);
}
