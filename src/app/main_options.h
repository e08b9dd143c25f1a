#pragma once

#include <QChar>
#include <QString>

class RunClock;
class UserPrompts;

// How a main window is set up. The program puts its files into the folder it
// chose at start; tests point them at a temporary folder, fix the decimal
// separator and run the timers faster.
struct TMainOptions {
    // Empty: "options.ini" beside the program.
    QString settingsPath;
    // Empty: "ports" beside the program (where the "COMn" links are looked up).
    QString portsFolder;
    // Empty: runs.sqlite beside the settings file.
    QString journalPath;
    // Search the ports for the instruments once the window runs, when there is no settings
    // file yet (the program's first start); tests leave it off.
    bool findInstrumentsAtFirstStart = false;
    // Null: the system locale's separator.
    QChar decimalSeparator;
    // Every timer period is divided by this (tests only; the program runs 1).
    int timerDivisor = 1;
    // Null: the system's clock. Tests give one they advance; it outlives the window.
    const RunClock *runClock = nullptr;
    // The run engine's clock (refreshes, watchdogs, steps, the records' times).
    // Null: the system's steady clock. Tests give one they advance; it outlives the window.
    const RunClock *engineClock = nullptr;
    // Null: the window's dialogs. Tests give a scripted one; it outlives the window.
    UserPrompts *prompts = nullptr;
};
