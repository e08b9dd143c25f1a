#include "ports/port_names.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPort>

namespace {

QString &portsFolderSetting() {
    static QString folder;
    return folder;
}

#ifndef Q_OS_WIN
QString linkedDevice(int n) {
    const QFileInfo link(portsFolder() + QStringLiteral("/COM") + QString::number(n));
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

} // namespace

QString portsFolder() {
    const QString &folder = portsFolderSetting();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/ports")
                            : folder;
}

void setPortsFolder(const QString &folder) {
    portsFolderSetting() = folder;
}

QString ComDevicePath(int n) {
    if (n < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
    const QString linked = linkedDevice(n);
    return linked.isEmpty() ? numberedDevice(n) : linked;
#endif
}

bool ProbePort(int n) {
    const QString path = ComDevicePath(n);
    if (path.isEmpty())
        return false;
    QSerialPort port;
    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return true;
    }
    // Qt reports a device that another holder has locked, or that we may not open, as a
    // permission error; either way the port is there.
    return port.error() == QSerialPort::PermissionError;
}

QStringList ProbePorts(int maxNumber) {
    QStringList found;
    for (int n = 1; n <= maxNumber; ++n) {
        if (ProbePort(n))
            found << QStringLiteral("COM%1").arg(n);
    }
    return found;
}
