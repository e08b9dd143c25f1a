#pragma once

#include "serial/port_names.h"

#include <QList>
#include <QString>

// What a search for the instruments found, port numbers in increasing order.
struct TInstrumentSearchResult {
    // Ports that carried meter frames, thermometer lines; the first of each is taken.
    QList<int> meterPorts;
    QList<int> thermoPorts;
    // The bit rates they were found at.
    int meterBaud = 0;
    int thermoBaud = 0;
    // Ports listened to that carried neither.
    QList<int> silentPorts;
    // Ports skipped: held by another program, or not open to this user.
    QList<int> heldPorts;
    QList<PortProbe> deniedPorts;

    bool foundAny() const { return !meterPorts.isEmpty() || !thermoPorts.isEmpty(); }
};

// The short Russian message for the user: which instrument is on which port and which was not
// found, the ports skipped and why, and whether the settings changed.
QString InstrumentSearchReport(const TInstrumentSearchResult &result);
