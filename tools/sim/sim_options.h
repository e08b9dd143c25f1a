#pragma once

#include "sim_actions.h"
#include "sim_meter.h"
#include "sim_thermometer.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SimProgramOptions {
    QString portsDir;
    int meterPort = 3;
    int thermoPort = 4;
    bool withMeter = true;
    bool withThermometer = true;
    SimMeterOptions meter;
    SimThermometerOptions thermometer;
    QList<ScheduledFault> faults;
};

enum class SimArgumentsOutcome { Run, Help, Error };

// Reads the command line of tamrel-sim (arguments[0] is the program). On Help the
// message holds the help text, on Error what is wrong. The links are made in
// defaultPortsDir unless --ports-dir names another folder; the link paths of the
// instrument options are filled in.
SimArgumentsOutcome ParseSimArguments(const QStringList &arguments, const QString &defaultPortsDir,
                                      SimProgramOptions *options, QString *message);
