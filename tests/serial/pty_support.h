#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// A pseudo-terminal pair: the test plays the device on the master side and the component
// opens the slave.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Writes all of data from the device side, letting events run while the terminal is full.
    bool feed(const QByteArray &data, int timeoutMs = 10000);
    // Collects count bytes that the component sent, letting events run meanwhile.
    QByteArray receive(int count, int timeoutMs = 5000);
    // Hangs up the device side, as when an adapter is pulled out.
    void closeMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};

// A temporary ports folder holding "COMn" links, for the ports and probes a test points at it.
class PortsFolder {
public:
    PortsFolder() = default;
    PortsFolder(const PortsFolder &) = delete;
    PortsFolder &operator=(const PortsFolder &) = delete;

    QString path() const { return m_dir.path(); }
    bool link(int n, const QString &target);
    // A path in the folder where no device exists.
    QString missingDevice() const { return m_dir.path() + QStringLiteral("/no-such-device"); }

private:
    QTemporaryDir m_dir;
};

// Lets events run until done() holds or the time is up; returns done().
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000);
// Lets events run for a while, for checks that something does not happen.
void runEventsFor(int ms);
