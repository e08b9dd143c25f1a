#pragma once

#include <QChar>

#include <cstdint>

// What the window's controllers share beside the run engine, which keeps the
// run itself (the event store, the storages, the CSV table, the run flag,
// the step state). The main window owns the one instance and hands it to the
// controllers that need it.
struct TAppState {
    explicit TAppState(QChar decimalSeparator) : DecimalSeparator(decimalSeparator) {}

    // The separator every number is written and read with (the system
    // locale's in the program, a fixed one in tests).
    QChar DecimalSeparator;

    // The answer to the last warning asked with only a Cancel button or the
    // data-loss question.
    int32_t LastDialogResult = -1;
};
