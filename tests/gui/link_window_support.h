#pragma once

#include "test_window.h"
#include "instruments_support.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class DeviceLog;
class PtyPort;

// A main window on a simulated bench with its automatic connection held off:
// the tests open the links themselves, as the connection would, and count the
// notifications each port delivers.
class LinkWindow {
public:
    explicit LinkWindow(const SimulatedBench &bench);
    ~LinkWindow();

    TestWindow &window() { return m_window; }
    TAppState &state() { return m_window.state(); }
    RunEngine &engine() { return m_window.engine(); }

    // Opens the port as COMn and the link in the engine (its refresh and watchdog run).
    void openMeter(int comNumber = SimulatedBench::kMeterPort);
    void openThermo(int comNumber = SimulatedBench::kThermoPort);

    // Notifications of each port that have run to their end.
    int meterNotifications() const { return m_meterNotifications; }
    int thermoNotifications() const { return m_thermoNotifications; }

private:
    TestWindow m_window;
    int m_meterNotifications = 0;
    int m_thermoNotifications = 0;
};

// A bare pseudo-terminal under ports/COMn of the bench: what a test writes
// arrives on that port exactly as written, in one read.
std::unique_ptr<PtyPort> openRawLine(const SimulatedBench &bench, int comNumber);

// Writes bytes on the line and runs events until the port has delivered them
// all and taken or dropped every one (or the timeout passes); on the
// thermometer's line, until every line the bytes end has been stored.
bool deliverMeterBytes(LinkWindow &link, PtyPort &line, const QByteArray &bytes);
bool deliverThermoBytes(LinkWindow &link, PtyPort &line, const QByteArray &bytes);

// The log's lines as of now: waits until the text holds every line taken so
// far and leaves out any taken while it waited, so that a log that goes on
// filling reads the same as one that stopped.
QStringList logLinesTakenSoFar(const DeviceLog &log);
