#pragma once

#include <QString>
#include <QStringList>

// Serial ports are known by number ("COMn"). On Windows the number names the device directly;
// elsewhere a link "COMn" in the ports folder names the device, and without one the number
// falls into fixed ranges: COM1-32 /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96
// /dev/ttyACM0-31.

// The ports folder is chosen by whoever creates the ports; an empty folder name means the
// default, "ports" beside the program.
QString defaultPortsFolder();

// The device path of port n, or an empty string when no device can carry that number.
QString ComDevicePath(int n, const QString &portsFolder = QString());

// Whether port n exists: it opens and at once closes the device. A port held by someone else
// (another open port of this program or another process) counts as present.
bool ProbePort(int n, const QString &portsFolder = QString());

// "COMn" for every port from 1 to maxNumber that ProbePort finds, in increasing order.
QStringList ProbePorts(const QString &portsFolder = QString(), int maxNumber = 200);
