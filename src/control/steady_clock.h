#pragma once

#include <QtGlobal>

#include <functional>

// Milliseconds on a clock that only moves forward. Controllers that pace
// themselves take one, so that tests can advance it instead of waiting.
using SteadyClock = std::function<qint64()>;

// The system's monotonic clock, counted from the call.
SteadyClock systemSteadyClock();
