#pragma once

#include "sim_instrument.h"
#include "temp_programme.h"
#include "thermo_line.h"

#include <QElapsedTimer>

#include <random>

struct SimThermometerOptions {
    int lineMs = 1000;
    TemperatureProgramme programme = TemperatureProgramme::hold(20.0);
    double noiseSigma = 0; // standard deviation of the reading around the programme
    bool crlf = false;     // end lines with CR LF instead of CR
    QByteArray sensorId = "1";
    QString linkPath;  // empty: no link, use slavePath()
    unsigned seed = 1; // for the noise
};

// The DS1820 thermometer: a line every lineMs with the programme's temperature (plus
// noise), faulty lines on request.
class SimThermometer : public SimInstrument {
    Q_OBJECT
public:
    explicit SimThermometer(const SimThermometerOptions &options = {}, QObject *parent = nullptr);

    // The programme's temperature now, without the sensor's noise.
    double trueTemperature() const;
    // Starts the programme again from now.
    void setProgramme(const TemperatureProgramme &programme);
    int linesSent() const { return m_linesSent; }

    // One line now with this fault (the next regular line is sound again).
    void sendFaultyLine(ThermoLineFault fault);

signals:
    void lineSent(const QByteArray &line);

protected:
    void tick() override;
    void received(const QByteArray &) override {} // the sensor takes no commands

private:
    QByteArray nextLine(ThermoLineFault fault);

    SimThermometerOptions m_options;
    QElapsedTimer m_clock;
    int m_linesSent = 0;
    std::mt19937 m_rng;
};
