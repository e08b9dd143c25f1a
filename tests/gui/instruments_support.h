#pragma once

#include "app/main_options.h"
#include "common/scripted_prompts.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class SimMeter;
class SimThermometer;

// A bench for end-to-end tests: a temporary folder with a "ports" folder in
// which the simulated meter is COM3 and the simulated thermometer COM4, and a
// settings file that points the program at them. Periods are short so that a
// test runs in a second or two; the window is run with its timers divided by
// kTimerDivisor.
class SimulatedBench {
public:
    static constexpr int kTimerDivisor = 10;
    static constexpr int kMeterPort = 3;
    static constexpr int kThermoPort = 4;

    // frameMs and lineMs are the instruments' periods.
    explicit SimulatedBench(int frameMs = 40, int lineMs = 100);
    ~SimulatedBench();

    SimMeter &meter() { return *m_meter; }
    SimThermometer &thermometer() { return *m_thermo; }

    QString folder() const { return m_dir.path(); }
    QString settingsPath() const;

    // Writes options.ini: the two ports plus extra "Key=Value" lines.
    void writeSettings(const QString &extraLines = QString()) const;

    // Options for a TestWindow on this bench (comma as decimal separator), asking
    // the bench's prompts.
    TMainOptions windowOptions() const;
    ScriptedPrompts &prompts() const { return m_prompts; }

private:
    QTemporaryDir m_dir;
    mutable ScriptedPrompts m_prompts;
    std::unique_ptr<SimMeter> m_meter;
    std::unique_ptr<SimThermometer> m_thermo;
};

// Runs the event loop until pred holds or timeoutMs passes; returns pred().
bool waitUntil(const std::function<bool()> &pred, int timeoutMs = 5000);
