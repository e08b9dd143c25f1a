#pragma once

#include "files/csv_table.h"
#include "model/event_store.h"
#include "run/freq_stepping.h"
#include "run/freq_storage.h"
#include "run/freq_worker.h"
#include "run/temp_storage.h"
#include "thermo/line_assembler.h"

#include <QChar>

#include <cstdint>

// The state the meter link, the thermometer link, the autoconnection and the
// measurement run share. The main window owns the one instance and hands it
// to every controller by reference; nothing else holds mutable state that
// outlives a handler.
struct TAppState {
    explicit TAppState(QChar decimalSeparator)
        : DecimalSeparator(decimalSeparator), EventStore(decimalSeparator) {}

    // The separator every number is written and read with (the system
    // locale's in the program, a fixed one in tests).
    QChar DecimalSeparator;

    TMyStorage EventStore;

    int32_t RunActive = 0;
    int32_t PortsOpen = 0;
    uint8_t SkipPacketCount = 6;
    int32_t LastDialogResult = -1;
    int32_t NextFrequency = 0;

    // StepTarget, StepWaypoint, StepFinePhase, StepCurrentFreq.
    TStepState Step;
    TFreqWorker FreqWorker{};

    int32_t FreqAtKeyPress = 0;
    int32_t FreqAfterKeyPress = 0;

    // TempLineBuffer: thermometer bytes since the last carriage return.
    TempLineAssembler TempLine;

    TTempStorage TempStorage;
    TFreqStorage FreqStorage;
    TCSVTable CSVTable;
};
