#include "engine_bench.h"

#include "meter_frame.h"
#include "thermo_line.h"

EngineBench::EngineBench(int meterFrequencyHz) : meter(meterFrequencyHz) {
    engine.setKeySender([this](uint8_t code) {
        keys << code;
        meter.pressKey(code);
        framesSinceKey = 0;
        return true;
    });
}

void EngineBench::prepare(const RunParameters &p) {
    engine.prepareTable(p);
    engine.setPortsOpen(true);
}

void EngineBench::sendFrame() {
    const QByteArray frame = EncodeMeterFrame(meter.display(temperature));
    std::array<uint8_t, 60> raw{};
    for (int i = 0; i < kMeterFrameSize - 1; ++i)
        raw[i] = uint8_t(frame.at(i));
    lastFrameSinceKey = ++framesSinceKey;
    ++framesSent;
    engine.meterFrame(raw);
}

void EngineBench::sendLine() {
    const QByteArray line = MakeThermometerLine(
        temperature, {}, thermometerValid ? ThermoLineFault::None : ThermoLineFault::BadChecksum);
    engine.thermometerLine(line.trimmed());
}

void EngineBench::run(qint64 ms) {
    runUntil([] { return false; }, ms);
}

bool EngineBench::runUntil(const std::function<bool()> &done, qint64 limitMs) {
    const qint64 end = clock.elapsedMs() + limitMs;
    while (clock.elapsedMs() < end) {
        if (done())
            return true;
        const qint64 now = clock.elapsedMs();
        if (now >= m_nextLine) {
            if (thermometerSends)
                sendLine();
            m_nextLine = now + linePeriodMs;
        }
        if (now >= m_nextFrame) {
            if (meterSends)
                sendFrame();
            m_nextFrame = now + framePeriodMs;
        }
        engine.advance();
        clock.advance(10);
    }
    return done();
}
