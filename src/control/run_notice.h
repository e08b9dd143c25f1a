#pragma once

#include <QString>

#include <functional>

// What the run tells the user on the desktop, even when the window is not
// looked at: each event once.
struct TRunNotice {
    enum class Kind { TableFull, RunStopped, InstrumentSilent };
    Kind kind = Kind::TableFull;
    QString title;
    QString text;
};

// Where notices go: the desktop's notifications in the program, a list in tests.
using TRunNoticeSink = std::function<void(const TRunNotice &notice)>;
