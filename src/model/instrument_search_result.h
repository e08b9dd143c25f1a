#pragma once

#include "model/port_access_reason.h"

#include <QList>

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
    // Ports skipped: held by another program, or not open to this user, and why.
    QList<int> heldPorts;
    struct Denied {
        int number = 0;
        PortAccessReason reason;
    };
    QList<Denied> deniedPorts;

    bool foundAny() const { return !meterPorts.isEmpty() || !thermoPorts.isEmpty(); }
};
