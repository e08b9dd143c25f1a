#include "serial/port_names.h"

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

bool ProbePort(int n, const QString &portsFolder) {
    const QString path = ComDevicePath(n, portsFolder);
    if (path.isEmpty())
        return false;
    QSerialPort port;
    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return true;
    }
    // Qt reports a device that another holder has locked as a permission error, and so
    // it does a device this user may not open at all (not in the dialout group), which
    // is no port for this program: only the first counts as present.
    return port.error() == QSerialPort::PermissionError && userMayOpen(path);
}

QStringList ProbePorts(const QString &portsFolder, int maxNumber) {
    QStringList found;
    for (int n = 1; n <= maxNumber; ++n) {
        if (ProbePort(n, portsFolder))
            found << QStringLiteral("COM%1").arg(n);
    }
    return found;
}
