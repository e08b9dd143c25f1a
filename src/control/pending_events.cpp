#include "control/pending_events.h"

#include <QCoreApplication>

void LetPendingEventsRun() {
    QCoreApplication::processEvents();
}
