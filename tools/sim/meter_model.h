#pragma once

#include "meter_frame.h"

#include <cstdint>
#include <functional>

// The default component on the meter's terminals: a capacitor whose capacitance and loss drift
// smoothly with temperature T (degrees Celsius) and test frequency f (Hz). With
// x = log10(f / 1000):
//   Cp = 100 nF * (1 + 0.0015 * (T - 20)) * (1 - 0.01 * x)
//   D  = 0.005 * exp(0.012 * (T - 20)) * (1 + 0.15 * x^2)
// Everything else follows from the parallel model Y = G + jB with B = 2 pi f Cp and
// G = D * B: Rp = 1/G, Lp = -1/(2 pi f B), Q = 1/D, Z = 1/|Y|, I = level * |Y|.
struct CapacitorReading {
    double cp = 0;
    double d = 0;
};
CapacitorReading CapacitorAt(double temperatureC, int frequencyHz);

// What is on the terminals: Cp and D at a temperature and a test frequency.
using Component = std::function<CapacitorReading(double temperatureC, int frequencyHz)>;

// The meter's front panel state: the shown quantities, the mode marks and the test
// frequency, changed by key codes as the instrument changes them.
class MeterModel {
public:
    explicit MeterModel(int frequencyHz = 1000);

    // One key from the serial line. The frequency keys act only while F3 is marked.
    void pressKey(uint8_t key);

    int frequency() const { return m_frequency; }
    void setFrequency(int hz);
    uint8_t modeMarks() const { return m_marks; }
    bool f3On() const;
    uint8_t mainCode() const { return m_mainCode; }
    uint8_t secondaryCode() const { return m_secondaryCode; }
    // The capacitor of CapacitorAt unless another component is put in its place.
    void setComponent(Component component);

    // The display at this temperature of the component.
    MeterDisplayState display(double temperatureC) const;

private:
    void choose(uint8_t mainCode, uint8_t secondaryCode);

    int m_frequency;
    Component m_component;
    uint8_t m_marks = 0;
    uint8_t m_mainCode;
    uint8_t m_secondaryCode;
};

// Parameter codes of the display.
namespace simparam {
constexpr uint8_t Cp = 0;
constexpr uint8_t Lp = 1;
constexpr uint8_t Rp = 2;
constexpr uint8_t Q = 6;
constexpr uint8_t Phi = 10;
constexpr uint8_t Z = 12;
constexpr uint8_t D = 13;
constexpr uint8_t I = 14;
} // namespace simparam
