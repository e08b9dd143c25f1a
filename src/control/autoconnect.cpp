#include "control/autoconnect.h"

#include "model/app_state.h"
#include "base/digits.h"
#include "control/pending_events.h"
#include "control/meter_link.h"
#include "serial/port_names.h"
#include "serial/ser_com_port.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace {

// How many port numbers the probe tries, from COM1 up.
constexpr int kProbedPorts = 200;

bool isLinkLost(const QColor &panel) {
    return panel.rgb() == panelcolor::LinkLost;
}

int bitRateOf(const QComboBox *box) {
    bool ok = false;
    const int baud = box->currentText().toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument("bit rate is not an integer: " +
                                    box->currentText().toStdString());
    return baud;
}

// Puts the names into the box's list; the box keeps its text and selects the item that
// equals it exactly, if any.
void fillPortList(QComboBox *box, const QStringList &names) {
    const QString text = box->currentText();
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(text);
}

} // namespace

TAutoconnect::TAutoconnect(TAppState &state, const MainWindowUi &ui, const MainActions &actions,
                           const MainTimers &timers, TSerComPort *portIM, TSerComPort *portTemp,
                           std::function<void(uint8_t)> sendKey,
                           std::function<void(bool)> setKeypadEnabled,
                           std::function<void()> saveSettings, QObject *parent)
    : QObject(parent), m_state(state), m_ui(ui), m_actions(actions),
      m_timers(timers), m_meter{portIM, timers.tmrDisplayIM, timers.tmrIMError, ui.cmbPortIMNumber,
                                ui.cmbPortIMBaud},
      m_thermo{portTemp, timers.tmrDisplayTemp, timers.tmrTempError, ui.cmbPortTempNumber,
               ui.cmbPortTempBaud},
      m_sendKey(std::move(sendKey)), m_setKeypadEnabled(std::move(setKeypadEnabled)),
      m_saveSettings(std::move(saveSettings)) {}

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
    link.port->setOpen(value);
    setTimerEnabled(link.display, value);
    setTimerEnabled(link.watchdog, value);
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
    link.port->setOpen(false);
    link.port->setComNumber(static_cast<quint16>(DigitsToInt(link.number->currentText())));
    link.port->setBaud(bitRateOf(link.baud));
}

void TAutoconnect::tmrAutoconnectToDeviceTimer() {
    m_saveSettings();

    // Both panels are read before either link is reopened in this tick.
    const bool meterLost = isLinkLost(m_ui.meterDisplay->panelColor());
    const bool thermoLost = isLinkLost(m_ui.thermoDisplay->panelColor());
    if (meterLost || thermoLost) {
        m_actions.actStart->setEnabled(false);
    } else if (m_state.RunActive == 0) {
        m_actions.actStart->setEnabled(true);
        m_setKeypadEnabled(true);
    }

    if (!m_meter.port->isOpen() || meterLost)
        reconnect(MeterLink);
    if (!m_thermo.port->isOpen() || thermoLost)
        reconnect(ThermoLink);
    if (m_meter.port->isOpen() && m_thermo.port->isOpen())
        m_state.PortsOpen = 1;

    // A link that failed to open stays closed with its refresh off; its watchdog keeps the
    // panel red until a later tick opens it and data arrive.
    setTimerEnabled(m_timers.tmrIMError, true);
    setTimerEnabled(m_timers.tmrTempError, true);
}

// A missing or held port fails here at every tick until it can be opened; the panel's
// colour is all the user sees of it.
void TAutoconnect::reconnect(int kind) {
    try {
        SetLinkOpen(false, kind);
        ApplyPortSettings(kind);
        SetLinkOpen(true, kind);
    } catch (const std::exception &) {
        m_state.PortsOpen = 0;
    }
}

void TAutoconnect::FillPortLists(QComboBox *im, QComboBox *temp) {
    LetPendingEventsRun();
    // Blocks the window while up to kProbedPorts devices are opened and closed.
    const QStringList names = ProbePorts(kProbedPorts);
    fillPortList(im, names);
    fillPortList(temp, names);
}

void TAutoconnect::actComPortAndLogVisibilityExecute() {
    m_ui.pnlComPortSettings->setVisible(m_ui.chbComPortAndLogVisibility->isChecked());
    if (m_ui.cmbPortIMNumber->count() == 0)
        FillPortLists(m_ui.cmbPortIMNumber, m_ui.cmbPortTempNumber);
    LetPendingEventsRun();
    m_ui.pnlSettings->repaint();
}
