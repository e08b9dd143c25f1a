#pragma once

#include "engine/link_state.h"

#include <QObject>

class RunEngine;
class TSerComPort;

// What the two device links have in common and the autoconnection switches:
// the serial line and the engine that keeps the link's refresh (a period
// after the data) and watchdog (a period without data) and its state.
class TDeviceLink : public QObject {
    Q_OBJECT
public:
    TDeviceLink(RunEngine &engine, LinkKind kind, TSerComPort *port, QObject *parent);

    TSerComPort *port() const { return m_port; }
    RunEngine &engine() const { return m_engine; }

    // The refresh and the watchdog run while the line is open.
    void setLinkTimersEnabled(bool enabled);
    // Keeps the watchdog counting (it turns the panel red while no data come).
    void armWatchdog();

    // Silent for a watchdog's period, or sending nothing usable; the panel
    // shows it red.
    bool isLinkLost() const { return linkState().Health == LinkHealth::Lost; }
    LinkState linkState() const;

private:
    RunEngine &m_engine;
    LinkKind m_kind;
    TSerComPort *m_port;
};
