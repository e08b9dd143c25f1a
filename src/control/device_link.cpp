#include "control/device_link.h"

#include "engine/run_engine.h"

TDeviceLink::TDeviceLink(RunEngine &engine, LinkKind kind, TSerComPort *port, QObject *parent)
    : QObject(parent), m_engine(engine), m_kind(kind), m_port(port) {}

void TDeviceLink::setLinkTimersEnabled(bool enabled) {
    m_engine.setLinkOpen(m_kind, enabled);
}

void TDeviceLink::armWatchdog() {
    m_engine.armWatchdog(m_kind);
}

LinkState TDeviceLink::linkState() const {
    return m_engine.link(m_kind);
}
