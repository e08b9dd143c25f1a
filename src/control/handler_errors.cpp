#include "control/handler_errors.h"

#include <QtGlobal>

void logHandlerError(const char *where, const std::exception &error) {
    qWarning("%s: %s", where, error.what());
}

void logEscapedException(const char *where, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        logHandlerError(where, e);
    } catch (...) {
        qWarning("%s: an exception of unknown type", where);
    }
}
