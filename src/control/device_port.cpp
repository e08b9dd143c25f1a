#include "control/device_port.h"

#include "control/handler_errors.h"
#include "serial/ser_com_port.h"

namespace {
// The meter's and the thermometer's rate as they leave the factory.
constexpr int kFactoryBitRate = 9600;
} // namespace

TSerComPort *makeDevicePort(const char *name, const QString &portsFolder, QObject *owner) {
    auto *port = new TSerComPort(
        [name](std::exception_ptr error) { logEscapedException(name, error); }, owner);
    port->setObjectName(QString::fromLatin1(name));
    port->setPortsFolder(portsFolder);
    port->setBaud(kFactoryBitRate);
    return port;
}
