#include "control/autoconnect.h"

#include "base/digits.h"
#include "control/handler_errors.h"
#include "control/meter_link.h"
#include "control/pending_events.h"
#include "control/port_access_notice.h"
#include "control/thermo_link.h"
#include "control/timers.h"
#include "engine/run_engine.h"
#include "meter/key_codes.h"
#include "serial/port_names.h"
#include "serial/ser_com_port.h"
#include "ui/port_list.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace {

// How many port numbers the probe tries, from COM1 up.
constexpr int kProbedPorts = 200;
constexpr int kTickMs = 3000;

int bitRateOf(const QComboBox *box) {
    const std::optional<int> baud = ReadBitRate(box->currentText());
    if (!baud)
        throw std::invalid_argument("bit rate is not a positive integer: " +
                                    box->currentText().toStdString());
    return *baud;
}

} // namespace

TAutoconnect::TAutoconnect(RunEngine &engine, TMeterLink &meter, TThermoLink &thermo,
                           const PortSettingsWidgets &ports, QWidget *pnlSettings,
                           QAction *actStart, std::function<void(uint8_t)> sendKey,
                           std::function<void(bool)> setKeypadEnabled,
                           std::function<void()> saveSettings, int speedUp, QObject *parent)
    : QObject(parent), m_engine(engine), m_ports(ports), m_pnlSettings(pnlSettings),
      m_actStart(actStart),
      m_tick(makeTimer(this, "tmrAutoconnectToDevice", kTickMs / speedUp, true)),
      m_meter{&meter, ports.cmbPortIMNumber, ports.cmbPortIMBaud}, m_thermo{&thermo,
                                                                            ports.cmbPortTempNumber,
                                                                            ports.cmbPortTempBaud},
      m_sendKey(std::move(sendKey)), m_setKeypadEnabled(std::move(setKeypadEnabled)),
      m_saveSettings(std::move(saveSettings)) {
    connect(m_tick, &QTimer::timeout, this, &TAutoconnect::tmrAutoconnectToDeviceTimer);
}

void TAutoconnect::SetLinkOpen(bool value, int kind) {
    if (kind == BothLinks || kind == MeterLink) {
        setOneLinkOpen(m_meter, value);
        // The meter shows its measurement display only after the enter key.
        if (value)
            m_sendKey(meterkey::Enter);
    }
    if (kind == BothLinks || kind == ThermoLink)
        setOneLinkOpen(m_thermo, value);
}

void TAutoconnect::setOneLinkOpen(const Link &link, bool value) {
    link.link->port()->setOpen(value);
    link.link->setLinkTimersEnabled(value);
}

void TAutoconnect::ApplyPortSettings(int kind) {
    if (kind == BothLinks || kind == MeterLink)
        applyOnePort(m_meter);
    if (kind == BothLinks || kind == ThermoLink)
        applyOnePort(m_thermo);
}

// Only the number and the bit rate are applied: the lines always run 8N1, whatever the
// data-bits, parity and stop-bits boxes show.
void TAutoconnect::applyOnePort(const Link &link) {
    TSerComPort *port = link.link->port();
    port->setOpen(false);
    port->setComNumber(static_cast<quint16>(DigitsToInt(link.number->currentText())));
    port->setBaud(bitRateOf(link.baud));
}

void TAutoconnect::tmrAutoconnectToDeviceTimer() {
    m_saveSettings();

    // Both links are read before either is reopened in this tick.
    const bool meterLost = m_meter.link->isLinkLost();
    const bool thermoLost = m_thermo.link->isLinkLost();
    if (meterLost || thermoLost) {
        m_actStart->setEnabled(false);
    } else if (!m_engine.isRunning()) {
        m_actStart->setEnabled(true);
        m_setKeypadEnabled(true);
    }

    if (!m_meter.link->port()->isOpen() || meterLost)
        reconnect(MeterLink);
    if (!m_thermo.link->port()->isOpen() || thermoLost)
        reconnect(ThermoLink);
    if (m_meter.link->port()->isOpen() && m_thermo.link->port()->isOpen())
        m_engine.setInstrumentsReady(true);

    // A link that failed to open stays closed with its refresh off; its watchdog keeps the
    // panel red until a later tick opens it and data arrive.
    m_meter.link->armWatchdog();
    m_thermo.link->armWatchdog();
}

// A missing or held port fails here at every tick until it can be opened; the panel's
// colour is what the user sees of it. A port this user may not open is announced too: what
// to do about it is nothing the panel can tell.
void TAutoconnect::reconnect(int kind) {
    try {
        SetLinkOpen(false, kind);
        ApplyPortSettings(kind);
        SetLinkOpen(true, kind);
    } catch (const ENoPermission &e) {
        m_engine.setInstrumentsReady(false);
        logOnce(e);
        const TSerComPort *port = (kind == MeterLink ? m_meter : m_thermo).link->port();
        emit portNotPermitted(e.devicePath(),
                              NoPermissionAdvice(ComPortName(port->comNumber()), e.devicePath()));
    } catch (const std::exception &e) {
        m_engine.setInstrumentsReady(false);
        logOnce(e);
    }
}

// The log gets each new cause once, not every 3 s.
void TAutoconnect::logOnce(const std::exception &e) {
    const QString failure = QString::fromLocal8Bit(e.what());
    if (failure != m_lastFailure)
        logHandlerError("tmrAutoconnectToDeviceTimer: opening a link", e);
    m_lastFailure = failure;
}

void TAutoconnect::FillPortLists(QComboBox *im, QComboBox *temp) {
    LetPendingEventsRun();
    // Blocks the window while up to kProbedPorts devices are opened and closed.
    const QList<PortListEntry> entries =
        PortListEntries(ProbePortStates(m_meter.link->port()->portsFolder(), kProbedPorts));
    FillPortList(im, entries);
    FillPortList(temp, entries);
}

void TAutoconnect::suspend() {
    setTimerEnabled(m_tick, false);
    SetLinkOpen(false, BothLinks);
}

void TAutoconnect::resume() {
    setTimerEnabled(m_tick, true);
    tmrAutoconnectToDeviceTimer();
}

void TAutoconnect::actComPortAndLogVisibilityExecute() {
    m_ports.pnlComPortSettings->setVisible(m_ports.chbComPortAndLogVisibility->isChecked());
    if (m_ports.cmbPortIMNumber->count() == 0)
        FillPortLists(m_ports.cmbPortIMNumber, m_ports.cmbPortTempNumber);
    LetPendingEventsRun();
    m_pnlSettings->repaint();
}
