#include "sim_meter.h"

SimMeter::SimMeter(const SimMeterOptions &options, QObject *parent)
    : SimInstrument(options.frameMs, options.linkPath, parent), m_model(options.frequencyHz),
      m_temperature([] { return 20.0; }), m_rng(options.seed) {
    if (options.dielectric)
        m_model.setComponent([sample = *options.dielectric](double temperatureC, int hz) {
            return sample.at(temperatureC, hz);
        });
}

void SimMeter::setTemperatureSource(std::function<double()> source) {
    m_temperature = std::move(source);
}

QByteArray SimMeter::currentFrame() const {
    return EncodeMeterFrame(m_model.display(m_temperature()));
}

void SimMeter::tick() {
    const QByteArray frame = currentFrame();
    if (send(frame)) {
        ++m_framesSent;
        emit frameSent(frame);
    }
}

void SimMeter::received(const QByteArray &bytes) {
    for (char c : bytes) {
        const auto key = static_cast<quint8>(c);
        m_keys.append(c);
        m_model.pressKey(key);
        emit keyReceived(key);
    }
}

void SimMeter::sendBadChecksumFrame() {
    QByteArray frame = currentFrame();
    frame[kMeterFrameSize - 1] = static_cast<char>(frame[kMeterFrameSize - 1] + 1);
    send(frame);
}

void SimMeter::sendNoise(int count) {
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray noise;
    for (int i = 0; i < count; ++i)
        noise.append(static_cast<char>(byte(m_rng)));
    send(noise);
}
