#pragma once

#include "meter_model.h"
#include "relaxing_dielectric.h"
#include "sim_instrument.h"

#include <functional>
#include <optional>
#include <random>

struct SimMeterOptions {
    int frameMs = 400;
    int frequencyHz = 1000; // must satisfy IsMeterFrequency
    QString linkPath;       // empty: no link, use slavePath()
    unsigned seed = 1;      // for the noise bytes
    // On the terminals instead of the default capacitor, when set.
    std::optional<RelaxingDielectric> dielectric;
};

// The immittance meter: a display frame every frameMs, key codes from the line
// applied to its front panel (MeterModel), faults on request.
class SimMeter : public SimInstrument {
    Q_OBJECT
public:
    explicit SimMeter(const SimMeterOptions &options = {}, QObject *parent = nullptr);

    // The temperature of the component on the terminals; 20 degrees when not set.
    void setTemperatureSource(std::function<double()> source);

    int frequency() const { return m_model.frequency(); }
    void setFrequency(int hz) { m_model.setFrequency(hz); }
    const MeterModel &model() const { return m_model; }
    // Every key code taken so far, in order.
    QByteArray keysReceived() const { return m_keys; }
    int framesSent() const { return m_framesSent; }
    // The frame the meter would send now.
    QByteArray currentFrame() const;

    // One frame now whose checksum byte is off by one.
    void sendBadChecksumFrame();
    // count random bytes now, between two frames (a stray 0xAA may be among them).
    void sendNoise(int count);

signals:
    void frameSent(const QByteArray &frame);
    void keyReceived(quint8 key);

protected:
    void tick() override;
    void received(const QByteArray &bytes) override;

private:
    MeterModel m_model;
    std::function<double()> m_temperature;
    QByteArray m_keys;
    int m_framesSent = 0;
    std::mt19937 m_rng;
};
