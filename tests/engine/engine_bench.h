#pragma once

#include "engine/run_clock.h"
#include "engine/run_engine.h"
#include "meter_model.h"

#include <QVector>

#include <cstdint>
#include <functional>

// The run engine between the simulator's meter model, which answers its keys,
// and a thermometer at a temperature the test sets, on a clock the test
// advances: frames and lines go in as their periods fall due.
class EngineBench {
public:
    explicit EngineBench(int meterFrequencyHz = 1000);

    // Prepares a table and opens the ports.
    void prepare(const RunParameters &p);

    // Runs `ms` of the bench's time in steps of 10 ms.
    void run(qint64 ms);
    // Runs until `done` holds, at most `limitMs`; whether it held.
    bool runUntil(const std::function<bool()> &done, qint64 limitMs);

    ManualRunClock clock;
    RunEngine engine{clock, QLatin1Char(',')};
    MeterModel meter;

    double temperature = 20.0;
    bool thermometerValid = true; // false: lines with a bad checksum
    bool meterSends = true;
    bool thermometerSends = true;
    int framePeriodMs = 400;
    int linePeriodMs = 1000;

    QVector<uint8_t> keys;     // every key the engine sent, in order
    int framesSinceKey = 0;    // frames the meter sent since the last key
    int lastFrameSinceKey = 0; // framesSinceKey when the newest frame went out, itself counted
    int framesSent = 0;

    // One frame, one line, now.
    void sendFrame();
    void sendLine();

private:
    qint64 m_nextFrame = 0;
    qint64 m_nextLine = 0;
};
