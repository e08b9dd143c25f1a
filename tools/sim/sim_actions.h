#pragma once

#include "temp_programme.h"

#include <QString>
#include <QStringList>

#include <optional>

class SimMeter;
class SimThermometer;

// A fault or a change asked of one instrument while it runs, typed on standard input
// ("meter silent 5000") or scheduled from the command line.
struct SimAction {
    enum class Device { Meter, Thermometer };
    enum class Kind {
        Silent,      // argument: milliseconds
        BadChecksum, // one frame or line with a wrong checksum
        Noise,       // meter: argument bytes of noise (default 8)
        Reopen,      // a new pseudo-terminal behind the same link
        LowerCase,   // thermometer: one line with lower-case checksum digits
        NonNumeric,  // thermometer: one line with "--.--" for the temperature
        Frequency,   // meter: argument hertz
        Programme,   // thermometer: hold or ramp
    };
    Device device = Device::Meter;
    Kind kind = Kind::BadChecksum;
    int amount = 0;
    TemperatureProgramme programme;

    // Faults may be repeated on a schedule; changes of state may not.
    bool isFault() const { return kind != Kind::Frequency && kind != Kind::Programme; }
};

// words: device ("meter", "thermo"), action, then its arguments.
std::optional<SimAction> ParseSimAction(const QStringList &words, QString *error);

// Carries the action out on the instrument it names; an error text when it cannot.
QString ApplySimAction(const SimAction &action, SimMeter *meter, SimThermometer *thermometer);

// "DEVICE:FAULT:EVERY_MS[:ARG]", for example "meter:silent:60000:5000": every 60 s
// the meter goes silent for 5 s.
struct ScheduledFault {
    SimAction action;
    int everyMs = 0;
};
std::optional<ScheduledFault> ParseFaultSchedule(const QString &text, QString *error);

// One line of standard input: an action, "status" or "help". The reply to print.
QString RunSimCommand(const QString &line, SimMeter *meter, SimThermometer *thermometer);

// The actions and their arguments, for --help and the "help" command.
QString SimActionsHelp();
