#pragma once

#include "run/link_outage.h"

#include <QDateTime>
#include <QString>

#include <functional>

// What the run tells the user on the desktop, even when the window is not
// looked at: each event once. The words are made where it is shown.
struct TRunNotice {
    enum class Kind {
        TableFull,         // every cell holds a reading; the run goes on
        TableFullStopping, // every cell holds a reading; the run stops and is saved
        RunStopped,        // stopped because the table was full, its file saved or not
        InstrumentSilent,  // an instrument sent nothing for a long time; the run goes on
    };
    TRunNotice(Kind kind = Kind::TableFull) : kind(kind) {}

    Kind kind;
    QString savedFile;                           // RunStopped: the file written
    QString problem;                             // RunStopped: why it was not, in the user's words
    TInstrument instrument = TInstrument::Meter; // InstrumentSilent
    QDateTime since;                             // InstrumentSilent
};

// Where notices go: the desktop's notifications in the program, a list in tests.
using TRunNoticeSink = std::function<void(const TRunNotice &notice)>;
