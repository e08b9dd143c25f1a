#pragma once

#include <QDateTime>

// How an instrument's line is doing: nothing heard yet, data arriving, or
// silent for a watchdog's period (or sending nothing that can be used).
enum class LinkHealth { NotHeard, Receiving, Lost };

enum class LinkKind { Meter, Thermometer };

struct LinkState {
    LinkHealth Health = LinkHealth::NotHeard;
    QDateTime LastData; // invalid until something arrived
};
