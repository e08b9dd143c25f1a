#include "sim_thermometer.h"

SimThermometer::SimThermometer(const SimThermometerOptions &options, QObject *parent)
    : SimInstrument(options.lineMs, options.linkPath, parent), m_options(options),
      m_rng(options.seed) {
    m_clock.start();
}

double SimThermometer::trueTemperature() const {
    return m_options.programme.at(m_clock.elapsed());
}

void SimThermometer::setProgramme(const TemperatureProgramme &programme) {
    m_options.programme = programme;
    m_clock.restart();
}

QByteArray SimThermometer::nextLine(ThermoLineFault fault) {
    double t = trueTemperature();
    if (m_options.noiseSigma > 0)
        t += std::normal_distribution<double>(0.0, m_options.noiseSigma)(m_rng);
    ThermoLineFields fields;
    fields.sensorId = m_options.sensorId;
    fields.counter = QByteArray::number(m_linesSent);
    fields.crlf = m_options.crlf;
    return MakeThermometerLine(t, fields, fault);
}

void SimThermometer::tick() {
    const QByteArray line = nextLine(ThermoLineFault::None);
    if (send(line)) {
        ++m_linesSent;
        emit lineSent(line);
    }
}

void SimThermometer::sendFaultyLine(ThermoLineFault fault) {
    send(nextLine(fault));
}
