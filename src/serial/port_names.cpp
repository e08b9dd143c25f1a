#include "serial/port_names.h"

#include "base/number_format.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

#ifndef Q_OS_WIN
QString linkedDevice(int n, const QString &portsFolder) {
    const QString folder = portsFolder.isEmpty() ? defaultPortsFolder() : portsFolder;
    const QFileInfo link(folder + QStringLiteral("/COM") + QString::number(n));
    if (!link.isSymLink())
        return {};
    const QString device = link.canonicalFilePath();
    return device.isEmpty() ? link.symLinkTarget() : device;
}

QString numberedDevice(int n) {
    struct Range {
        int last;
        const char *prefix;
    };
    static const Range ranges[] = {{32, "/dev/ttyS"}, {64, "/dev/ttyUSB"}, {96, "/dev/ttyACM"}};
    int first = 1;
    for (const Range &range : ranges) {
        if (n <= range.last)
            return QLatin1String(range.prefix) + QString::number(n - first);
        first = range.last + 1;
    }
    return {};
}
#endif

// Whether the file permissions let this user open the device at all; on
// Windows a refused open of an existing port always means another holder.
bool userMayOpen(const QString &path) {
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return true;
#else
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#endif
}

} // namespace

QString defaultPortsFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ports");
}

QString ComDevicePath(int n, const QString &portsFolder) {
    if (n < 1)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(portsFolder);
    return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
    const QString linked = linkedDevice(n, portsFolder);
    return linked.isEmpty() ? numberedDevice(n) : linked;
#endif
}

QString ComPortName(int n) {
    return QStringLiteral("COM") + numfmt::general(n, QLatin1Char('.'));
}

PortState RefusedPortState(QSerialPort::SerialPortError error, const QString &path) {
    if (error != QSerialPort::PermissionError)
        return PortState::Missing;
    return userMayOpen(path) ? PortState::Held : PortState::NoPermission;
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
