#include "control/steady_clock.h"

#include <QElapsedTimer>

#include <memory>

SteadyClock systemSteadyClock() {
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    return [since] { return since->elapsed(); };
}
