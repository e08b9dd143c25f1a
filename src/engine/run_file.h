#pragma once

#include "engine/run_parameters.h"
#include "run/set_points.h"

#include <QByteArray>
#include <QString>

// A run without a window, as a text file of "key = value" lines ("#" starts a
// comment, blank lines are skipped):
//   from, to, step, tolerance   the table's temperatures in degrees Celsius
//   frequencies                 the test frequencies in hertz, left to right
//   skip                        meter frames that settle after a key (0..255)
//   meter, thermometer          the ports ("COM3" or "3")
//   output                      the measurement file, relative to the run file's folder
// and, when given, meter_baud and thermometer_baud (9600 otherwise),
// ports_folder (where the COMn links are) and journal (the run journal's file),
// both relative to the run file's folder too.
struct RunFile {
    RunParameters Parameters;
    int MeterPort = 0;
    int ThermometerPort = 0;
    int MeterBaud = 9600;
    int ThermometerBaud = 9600;
    QString Output;
    QString PortsFolder; // empty: the program's own
    QString Journal;     // empty: the program's own
};

// Why a run file was refused.
enum class RunFileProblem {
    None,
    Unreadable,
    NotKeyValue, // a line without "="
    UnknownKey,
    RepeatedKey,
    MissingKey,
    BadNumber,      // not a finite number (a point or a comma may separate decimals)
    BadFrequencies, // not frequencies the meter can be stepped to, ascending
    BadSkipCount,
    BadPort,
    BadBaud,
    BadTable,  // the temperatures give no table (SetPointError says why)
    BadOutput, // the output file's name cannot be written as it stands, or its folder is missing
};

struct RunFileOutcome {
    RunFileProblem Problem = RunFileProblem::None;
    int Line = 0; // 1-based line of the problem, 0 when it has none
    QString Key;  // the key concerned, when there is one
    SetPointError Table = SetPointError::None;
    RunFile Run;
};

// Reads the text of a run file; `folder` is where relative paths start.
RunFileOutcome parseRunFile(const QByteArray &text, const QString &folder);
// Reads the run file at `path`.
RunFileOutcome readRunFile(const QString &path);
