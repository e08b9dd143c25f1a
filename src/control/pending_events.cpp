#include "control/pending_events.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

namespace {
// A frame's handling lets events run four times within a few microseconds of
// the wake-up that brought it; each time asks the system for new events, a
// system call that costs more than the frame's own work on a busy line and
// finds nothing new so soon after the event loop looked.
constexpr qint64 kQuietNs = 1000000;

// Since the event loop, or a call here, last looked for events.
QElapsedTimer &sinceLastLook() {
    static QElapsedTimer timer;
    return timer;
}

// A device's notification (a serial port's data) is delivered right after the
// event loop asked the system which devices are ready.
class LookWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::SockAct)
            sinceLastLook().start();
        return QObject::eventFilter(watched, event);
    }
};

void watchTheEventLoop() {
    static bool watching = false;
    if (watching)
        return;
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->installEventFilter(new LookWatch(app));
        watching = true;
    }
}
} // namespace

void LetPendingEventsRun() {
    watchTheEventLoop();
    QElapsedTimer &since = sinceLastLook();
    if (since.isValid() && since.nsecsElapsed() < kQuietNs)
        return;
    QCoreApplication::processEvents();
    since.start();
}
