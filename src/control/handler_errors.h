#pragma once

#include <exception>

// An error a handler caught and got over (a port that cannot be written, a
// line that failed): written to the program's warning log with where it
// happened, so that nothing fails without a trace.
void logHandlerError(const char *where, const std::exception &error);

// The same for an exception that escaped a handler and was caught by the
// component that called it (a serial port's notification).
void logEscapedException(const char *where, std::exception_ptr error);
