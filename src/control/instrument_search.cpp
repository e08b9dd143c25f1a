#include "control/instrument_search.h"

#include "base/digits.h"
#include "base/number_format.h"
#include "control/handler_errors.h"
#include "control/port_access_notice.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "meter/meter_recogniser.h"
#include "serial/platform.h"
#include "serial/ser_com_port.h"
#include "thermo/thermo_recogniser.h"
#include "ui/instrument_search_text.h"
#include "ui/port_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>

namespace {

// The port numbers tried, as by the probe of the port lists.
constexpr int kSearchedPorts = 200;
constexpr int kProgressStepMs = 100;
// How long each port is listened to for the instruments: the meter sends a frame and the
// thermometer a line well within it.
constexpr int kListenMs = 3000;

QList<int> sorted(const QSet<int> &numbers) {
    QList<int> list(numbers.begin(), numbers.end());
    std::sort(list.begin(), list.end());
    return list;
}

// Puts the port into the number box, and the bit rate it was found at into the rate box.
void putPort(QComboBox *number, QComboBox *baud, int port, int rate) {
    number->setEditText(ComPortName(port));
    const QString rateText = numfmt::general(rate, QLatin1Char('.'));
    if (baud->currentText() != rateText) {
        baud->setCurrentIndex(baud->findText(rateText, Qt::MatchExactly));
        baud->setEditText(rateText);
    }
}

} // namespace

struct TInstrumentSearch::Listener {
    int number = 0;
    int baud = 0;
    TSerComPort *port = nullptr;
    MeterStreamRecogniser meter;
    ThermoStreamRecogniser thermo;
    bool recognised = false;
};

TInstrumentSearch::TInstrumentSearch(RunEngine &engine, const PortSettingsWidgets &ports,
                                     QString portsFolder, Hooks hooks, UserPrompts &prompts,
                                     int speedUp, QObject *parent)
    : QObject(parent), m_engine(engine), m_ports(ports), m_portsFolder(std::move(portsFolder)),
      m_hooks(std::move(hooks)), m_listenMs(kListenMs / speedUp), m_prompts(prompts) {
    connect(m_ports.btnFindInstruments, &QPushButton::clicked, this,
            &TInstrumentSearch::btnFindInstrumentsClick);
}

TInstrumentSearch::~TInstrumentSearch() {
    stopListening();
}

void TInstrumentSearch::startAtFirstStart() {
    QTimer::singleShot(0, this, [this] {
        if (!m_ports.chbComPortAndLogVisibility->isChecked())
            m_ports.chbComPortAndLogVisibility->click();
        start();
    });
}

void TInstrumentSearch::btnFindInstrumentsClick() {
    if (isSearching())
        cancel();
    else
        start();
}

void TInstrumentSearch::start() {
    if (isSearching())
        return;
    // The run needs both links; listening would take their ports away.
    if (m_engine.isRunning()) {
        m_prompts.notice(TPromptIcon::None, InstrumentSearchDuringRunText());
        return;
    }
    m_hooks.suspendLinks();
    m_result = {};
    m_denied.clear();
    m_listenedTo.clear();
    m_recognised.clear();
    m_skipped.clear();
    // A rate that cannot be read is not listened at. With neither there is no
    // search; the links, back at once, say what is wrong with the rate.
    m_rates.clear();
    for (const QComboBox *box : {m_ports.cmbPortIMBaud, m_ports.cmbPortTempBaud})
        if (const std::optional<int> baud = ReadBitRate(box->currentText());
            baud && !m_rates.contains(*baud))
            m_rates << *baud;
    if (m_rates.isEmpty()) {
        m_hooks.resumeLinks();
        return;
    }
    m_round = 0;
    setSearchingLook(true);
    startRound();
}

void TInstrumentSearch::cancel() {
    if (!isSearching())
        return;
    m_roundTimer.stop();
    m_endQueued = false;
    stopListening();
    m_round = -1;
    setSearchingLook(false);
    m_hooks.resumeLinks();
    emit finished(true);
}

// Opening a port takes a few milliseconds at most, so the round opens all of them at once;
// a number without a device costs a look at the file system only.
void TInstrumentSearch::startRound() {
    const int baud = m_rates.at(m_round);
    for (int n = 1; n <= kSearchedPorts; ++n) {
        if (m_recognised.contains(n) || m_skipped.contains(n))
            continue;
        const QString path = ComDevicePath(n, m_portsFolder);
        if (!path.isEmpty() && QFileInfo::exists(path))
            listen(n, baud);
    }
    m_roundClock.start();
    m_roundTimer.start(m_listenMs, this);
    showProgress();
    if (m_listeners.empty())
        queueEndRound();
}

void TInstrumentSearch::listen(int number, int baud) {
    auto *port = new TSerComPort(
        [](std::exception_ptr error) { logEscapedException("instrument search", error); }, this);
    port->setPortsFolder(m_portsFolder);
    port->setComNumber(static_cast<quint16>(number));
    port->setBaud(baud);
    try {
        port->setOpen(true);
    } catch (const ENoPermission &e) {
        m_denied.append({number, e.devicePath(), PortState::NoPermission});
        m_result.deniedPorts.append({number, platform::noPermissionReason(e.devicePath())});
        m_skipped.insert(number);
        delete port;
        return;
    } catch (const EAlreadyOpen &) {
        m_result.heldPorts.append(number);
        m_skipped.insert(number);
        delete port;
        return;
    } catch (const EOpenComm &) {
        // A device node with no port behind it (most /dev/ttyS*), or a rate it cannot take:
        // no instrument there to find.
        delete port;
        return;
    }
    auto listener = std::make_unique<Listener>();
    listener->number = number;
    listener->baud = baud;
    listener->port = port;
    Listener *l = listener.get();
    port->setOnTriggerAvail(
        [this, l](TSerComPort *cp, quint16 count) { bytesArrived(*l, cp, count); });
    m_listenedTo.insert(number);
    m_listeners.push_back(std::move(listener));
}

void TInstrumentSearch::bytesArrived(Listener &l, TSerComPort *port, quint16 count) {
    QByteArray bytes(count, Qt::Uninitialized);
    port->ReadBlock(bytes.data(), count);
    if (l.recognised)
        return;
    l.meter.feed(bytes);
    l.thermo.feed(bytes);
    if (l.meter.recognised()) {
        m_result.meterPorts << l.number;
        m_result.meterBaud = l.baud;
    } else if (l.thermo.recognised()) {
        m_result.thermoPorts << l.number;
        m_result.thermoBaud = l.baud;
    } else {
        return;
    }
    l.recognised = true;
    m_recognised.insert(l.number);
    // Closing from inside the port's own notification completes when it returns.
    port->setOpen(false);
    const bool allRecognised = std::all_of(m_listeners.begin(), m_listeners.end(),
                                           [](const auto &other) { return other->recognised; });
    if (bothFound() || allRecognised)
        queueEndRound();
}

// The round may end inside a port's notification; the ports are released after it returns.
void TInstrumentSearch::queueEndRound() {
    if (m_endQueued)
        return;
    m_endQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_endQueued)
                endRound();
        },
        Qt::QueuedConnection);
}

void TInstrumentSearch::endRound() {
    m_endQueued = false;
    if (!isSearching())
        return;
    m_roundTimer.stop();
    stopListening();
    if (++m_round < m_rates.size() && !bothFound())
        startRound();
    else
        finish();
}

void TInstrumentSearch::finish() {
    m_round = -1;
    setSearchingLook(false);
    std::sort(m_result.meterPorts.begin(), m_result.meterPorts.end());
    std::sort(m_result.thermoPorts.begin(), m_result.thermoPorts.end());
    std::sort(m_result.heldPorts.begin(), m_result.heldPorts.end());
    std::sort(m_denied.begin(), m_denied.end(),
              [](const PortProbe &a, const PortProbe &b) { return a.number < b.number; });
    std::sort(m_result.deniedPorts.begin(), m_result.deniedPorts.end(),
              [](const auto &a, const auto &b) { return a.number < b.number; });
    m_result.silentPorts = sorted(m_listenedTo - m_recognised);
    apply();
    if (!m_denied.isEmpty())
        m_hooks.deniedReported(m_denied);
    m_hooks.resumeLinks();
    m_prompts.notice(TPromptIcon::None, InstrumentSearchReport(m_result));
    emit finished(false);
}

// The ports found go into the number boxes (with the rate they spoke at), and the lists show
// every port the search met, as the probe of the lists would have.
void TInstrumentSearch::apply() {
    if (!m_result.meterPorts.isEmpty())
        putPort(m_ports.cmbPortIMNumber, m_ports.cmbPortIMBaud, m_result.meterPorts.first(),
                m_result.meterBaud);
    if (!m_result.thermoPorts.isEmpty())
        putPort(m_ports.cmbPortTempNumber, m_ports.cmbPortTempBaud, m_result.thermoPorts.first(),
                m_result.thermoBaud);

    QList<PortProbe> met;
    for (const int n : m_listenedTo)
        met.append({n, ComDevicePath(n, m_portsFolder), PortState::Free});
    for (const int n : m_result.heldPorts)
        met.append({n, ComDevicePath(n, m_portsFolder), PortState::Held});
    met += m_denied;
    std::sort(met.begin(), met.end(),
              [](const PortProbe &a, const PortProbe &b) { return a.number < b.number; });
    const QList<PortListEntry> entries = PortListEntries(met);
    FillPortList(m_ports.cmbPortIMNumber, entries);
    FillPortList(m_ports.cmbPortTempNumber, entries);
}

void TInstrumentSearch::stopListening() {
    for (const auto &l : m_listeners) {
        l->port->setOnTriggerAvail(nullptr);
        l->port->setOpen(false);
        l->port->deleteLater();
    }
    m_listeners.clear();
}

void TInstrumentSearch::setSearchingLook(bool searching) {
    m_ports.btnFindInstruments->setText(InstrumentSearchButtonText(searching));
    m_ports.pbFindInstruments->setVisible(searching);
    if (searching) {
        m_ports.pbFindInstruments->setRange(0, int(m_rates.size()) * m_listenMs);
        m_progressTimer.start(kProgressStepMs, this);
    } else {
        m_progressTimer.stop();
    }
}

void TInstrumentSearch::timerEvent(QTimerEvent *event) {
    if (event->timerId() == m_roundTimer.timerId())
        endRound();
    else if (event->timerId() == m_progressTimer.timerId())
        showProgress();
    else
        QObject::timerEvent(event);
}

void TInstrumentSearch::showProgress() {
    if (isSearching())
        m_ports.pbFindInstruments->setValue(
            m_round * m_listenMs + int(std::min<qint64>(m_roundClock.elapsed(), m_listenMs)));
}

bool TInstrumentSearch::bothFound() const {
    return !m_result.meterPorts.isEmpty() && !m_result.thermoPorts.isEmpty();
}
