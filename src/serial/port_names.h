#pragma once

#include "base/com_port_name.h"

#include <QList>
#include <QSerialPort>
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


// What opening a port's device tells about it.
enum class PortState {
    Missing,      // no device, or one that refuses for another reason (no such UART)
    Free,         // opened and closed again
    Held,         // another open port of this program or another process holds it
    NoPermission, // it exists, but this user may not open it (not in the device's group)
};

struct PortProbe {
    int number = 0;
    QString devicePath;
    PortState state = PortState::Missing;
};

// What a refused opening of the device at path says about the port: Qt reports a device that
// another holder has locked as a permission error, and so it does one this user may not open
// at all; the file's permissions tell the two apart. Any other error: Missing.
PortState RefusedPortState(QSerialPort::SerialPortError error, const QString &path);

// Opens and at once closes the device of port n.
PortState ProbePortState(int n, const QString &portsFolder = QString());

// Whether port n exists for this program: free or held by someone else.
bool ProbePort(int n, const QString &portsFolder = QString());

// Every port from 1 to maxNumber whose device exists (all but Missing), in increasing order.
QList<PortProbe> ProbePortStates(const QString &portsFolder = QString(), int maxNumber = 200);

// "COMn" for every port from 1 to maxNumber that ProbePort finds, in increasing order.
QStringList ProbePorts(const QString &portsFolder = QString(), int maxNumber = 200);
