#include "meter_model.h"

#include "freq_keys.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLevelVolts = 1.0;
constexpr uint8_t kLevelCentivolts = 100;

// Range codes 1..8 cover 10 MOm down to 1 Om, or 1 mkA up to 10 A for current; the
// meter picks the smallest range that holds the reading.
uint8_t impedanceRange(double ohms) {
    double limit = 1e7;
    uint8_t code = 1;
    while (code < 8 && ohms <= limit / 10) {
        limit /= 10;
        ++code;
    }
    return code;
}

uint8_t currentRange(double amperes) {
    double limit = 1e-6;
    uint8_t code = 1;
    while (code < 8 && amperes > limit) {
        limit *= 10;
        ++code;
    }
    return code;
}

} // namespace

CapacitorReading CapacitorAt(double temperatureC, int frequencyHz) {
    const double x = std::log10(frequencyHz / 1000.0);
    const double dt = temperatureC - 20.0;
    return {100e-9 * (1 + 0.0015 * dt) * (1 - 0.01 * x),
            0.005 * std::exp(0.012 * dt) * (1 + 0.15 * x * x)};
}

MeterModel::MeterModel(int frequencyHz)
    : m_frequency(frequencyHz), m_component(CapacitorAt), m_mainCode(simparam::Cp),
      m_secondaryCode(simparam::D) {}

void MeterModel::setComponent(Component component) {
    m_component = std::move(component);
}

bool MeterModel::f3On() const {
    return (m_marks & simmark::F3) != 0;
}

void MeterModel::setFrequency(int hz) {
    m_frequency = hz;
}

void MeterModel::choose(uint8_t mainCode, uint8_t secondaryCode) {
    m_mainCode = mainCode;
    m_secondaryCode = secondaryCode;
}

void MeterModel::pressKey(uint8_t key) {
    switch (key) {
    case simkey::Right:
    case simkey::Left:
    case simkey::Up:
    case simkey::Down:
        if (f3On())
            m_frequency = ApplyFrequencyKey(m_frequency, key);
        break;
    case simkey::F1:
        m_marks ^= simmark::F1;
        break;
    case simkey::F2:
        m_marks ^= simmark::F2;
        break;
    case simkey::F3:
        m_marks ^= simmark::F3;
        break;
    case simkey::F4:
        m_marks ^= simmark::F4;
        break;
    case simkey::C:
        choose(simparam::Cp, simparam::D);
        break;
    case simkey::L:
        choose(simparam::Lp, simparam::Q);
        break;
    case simkey::R:
        choose(simparam::Rp, simparam::Cp);
        break;
    case simkey::Z:
        choose(simparam::Z, simparam::Phi);
        break;
    case simkey::I:
        choose(simparam::I, simparam::Phi);
        break;
    default: // Enter, Menu and XX leave the measurement as it is
        break;
    }
}

MeterDisplayState MeterModel::display(double temperatureC) const {
    const CapacitorReading c = m_component(temperatureC, m_frequency);
    const double omega = 2 * kPi * m_frequency;
    const double b = omega * c.cp;
    const double g = c.d * b;
    const double admittance = std::hypot(g, b);
    const double phiDegrees = -std::atan2(b, g) * 180.0 / kPi;

    auto quantity = [&](uint8_t code) {
        switch (code) {
        case simparam::Cp:
            return c.cp;
        case simparam::Lp:
            return -1.0 / (omega * b);
        case simparam::Rp:
            return 1.0 / g;
        case simparam::Q:
            return 1.0 / c.d;
        case simparam::Phi:
            return phiDegrees;
        case simparam::Z:
            return 1.0 / admittance;
        case simparam::I:
            return kLevelVolts * admittance;
        default: // D
            return c.d;
        }
    };

    MeterDisplayState s;
    const FrequencyDigits f = EncodeFrequency(m_frequency);
    s.frequencyMantissa = f.mantissa;
    s.frequencyExponent = f.exponent;
    s.levelCentivolts = kLevelCentivolts;
    s.offsetCentivolts = 0;
    s.autoRange = true;
    s.rangeCode = m_mainCode == simparam::I ? currentRange(kLevelVolts * admittance)
                                            : impedanceRange(1.0 / admittance);
    s.mainCode = m_mainCode;
    s.secondaryCode = m_secondaryCode;
    s.main = EncodeMeterValue(quantity(m_mainCode), ValueSlot::Main);
    const bool dimensionless = m_secondaryCode == simparam::D || m_secondaryCode == simparam::Q;
    s.secondary = EncodeMeterValue(quantity(m_secondaryCode), ValueSlot::Secondary, dimensionless);
    s.modeMarks = m_marks;
    return s;
}
