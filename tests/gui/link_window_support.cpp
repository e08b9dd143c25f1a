#include "link_window_support.h"

#include "control/meter_link.h"
#include "control/thermo_link.h"
#include "control/timers.h"
#include "engine/run_engine.h"
#include "pty_port.h"
#include "serial/ser_com_port.h"
#include "ui/device_log.h"

#include <QTimer>

#include <gtest/gtest.h>

LinkWindow::LinkWindow(const SimulatedBench &bench) : m_window(bench.windowOptions()) {
    m_window.timers().tmrAutoconnectToDevice->stop();

    TMeterLink *meter = m_window.meterLink();
    m_window.portIM()->setOnTrigger(
        [this, meter](TSerComPort *cp, quint16 msg, quint16 handle, quint16 data) {
            meter->portIMTrigger(cp, msg, handle, data);
            ++m_meterNotifications;
        });
    TThermoLink *thermo = m_window.thermoLink();
    m_window.portTemp()->setOnTriggerAvail([this, thermo](TSerComPort *cp, quint16 count) {
        thermo->portTempTriggerAvail(cp, count);
        ++m_thermoNotifications;
    });
}

LinkWindow::~LinkWindow() {
    for (QTimer *timer : m_window.findChildren<QTimer *>())
        timer->stop();
    m_window.portIM()->setOpen(false);
    m_window.portTemp()->setOpen(false);
}

void LinkWindow::openMeter(int comNumber) {
    m_window.portIM()->setComNumber(quint16(comNumber));
    m_window.portIM()->setOpen(true);
    engine().setLinkOpen(LinkKind::Meter, true);
}

void LinkWindow::openThermo(int comNumber) {
    m_window.portTemp()->setComNumber(quint16(comNumber));
    m_window.portTemp()->setOpen(true);
    engine().setLinkOpen(LinkKind::Thermometer, true);
}

std::unique_ptr<PtyPort> openRawLine(const SimulatedBench &bench, int comNumber) {
    auto line = std::make_unique<PtyPort>();
    line->setLinkPath(bench.folder() + QStringLiteral("/ports/COM%1").arg(comNumber));
    line->open();
    return line;
}

namespace {
int newestIndex(const TMyStorage &store, uint8_t kind) {
    TEventRec E;
    return store.GetLast(kind, E) ? E.Index : -1;
}

bool deliver(PtyPort &line, const QByteArray &bytes, const std::function<int()> &notifications,
             TSerComPort *port, const std::function<bool()> &complete) {
    const int before = notifications();
    if (!line.write(bytes))
        return false;
    return waitUntil(
        [&] { return notifications() > before && port->InCount() == 0 && complete(); });
}
} // namespace

bool deliverMeterBytes(LinkWindow &link, PtyPort &line, const QByteArray &bytes) {
    return deliver(
        line, bytes, [&] { return link.meterNotifications(); }, link.window().portIM(),
        [] { return true; });
}

// A busy machine may hand the bytes over in more than one read: wait for a
// record per carriage return.
bool deliverThermoBytes(LinkWindow &link, PtyPort &line, const QByteArray &bytes) {
    const TMyStorage &store = link.engine().store();
    const int target = newestIndex(store, kTempRecord) + int(bytes.count('\r'));
    return deliver(
        line, bytes, [&] { return link.thermoNotifications(); }, link.window().portTemp(),
        [&] { return newestIndex(store, kTempRecord) >= target; });
}

QStringList logLinesTakenSoFar(const DeviceLog &log) {
    const qint64 taken = log.linesTaken();
    EXPECT_TRUE(waitUntil([&] { return log.linesWritten() >= taken; }));
    const QString text = log.toPlainText();
    QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    const qint64 later = log.linesWritten() - taken;
    lines.resize(qMax<qint64>(0, lines.size() - later));
    return lines;
}
