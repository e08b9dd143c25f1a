#include "serial/port_names.h"

#include "serial/platform.h"

#include <QCoreApplication>
#include <QSerialPort>

QString defaultPortsFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ports");
}

QString ComDevicePath(int n, const QString &portsFolder) {
    if (n < 1)
        return {};
    return platform::comDevicePath(n, portsFolder);
}

PortState RefusedPortState(QSerialPort::SerialPortError error, const QString &path) {
    if (error != QSerialPort::PermissionError)
        return PortState::Missing;
    return platform::userMayOpen(path) ? PortState::Held : PortState::NoPermission;
}

PortState ProbePortState(int n, const QString &portsFolder) {
    const QString path = ComDevicePath(n, portsFolder);
    if (path.isEmpty())
        return PortState::Missing;
    QSerialPort port;
    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return PortState::Free;
    }
    return RefusedPortState(port.error(), path);
}

bool ProbePort(int n, const QString &portsFolder) {
    const PortState state = ProbePortState(n, portsFolder);
    return state == PortState::Free || state == PortState::Held;
}

QList<PortProbe> ProbePortStates(const QString &portsFolder, int maxNumber) {
    QList<PortProbe> found;
    for (int n = 1; n <= maxNumber; ++n) {
        const PortState state = ProbePortState(n, portsFolder);
        if (state != PortState::Missing)
            found.append({n, ComDevicePath(n, portsFolder), state});
    }
    return found;
}

QStringList ProbePorts(const QString &portsFolder, int maxNumber) {
    QStringList found;
    for (const PortProbe &probe : ProbePortStates(portsFolder, maxNumber)) {
        if (probe.state != PortState::NoPermission)
            found << ComPortName(probe.number);
    }
    return found;
}
