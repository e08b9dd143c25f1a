#pragma once

#include "model/port_access_reason.h"

#include <QString>

// The short Russian remedy for a port this account may not open: which group to join and how,
// then to log in again (or only to log in again); to ask the administrator; or, on Windows, to
// close the program that holds the port.
QString PortAccessRemedyText(const PortAccessReason &reason);

// The whole advice for one port: that it cannot be opened, its device, and the remedy.
QString PortAccessAdviceText(const QString &portName, const QString &devicePath,
                             const PortAccessReason &reason);
