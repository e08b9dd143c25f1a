#pragma once

#include <QString>

class QObject;
class TSerComPort;

// The serial line of one instrument: named `name` (its log and its errors say which), looking
// its "COMn" links up in `portsFolder`, at the bit rate both instruments come with until the
// port settings give another. What escapes its handlers is logged and dropped, so that a bad
// frame never ends a run.
TSerComPort *makeDevicePort(const char *name, const QString &portsFolder, QObject *owner);
