#include "control/pending_events.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
// A frame's handling lets events run four times within a few microseconds;
// each time asks the system for new events, which costs more than the frame's
// own work on a busy line and finds nothing new after the first.
constexpr qint64 kQuietNs = 1000000;
} // namespace

void LetPendingEventsRun() {
    static QElapsedTimer sinceLast;
    if (sinceLast.isValid() && sinceLast.nsecsElapsed() < kQuietNs)
        return;
    QCoreApplication::processEvents();
    sinceLast.start();
}
