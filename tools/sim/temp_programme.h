#pragma once

#include <QString>

#include <optional>

// The temperature the thermometer's sensor sees over time: held, or ramped from one
// temperature to another at a fixed rate, then held at the end or (going back) ramped
// back and forth between the two for as long as the simulator runs.
class TemperatureProgramme {
public:
    static TemperatureProgramme hold(double temperatureC);
    static TemperatureProgramme ramp(double from, double to, double degreesPerMinute,
                                     bool back = false);
    // "A:B:R": from A to B at R degrees per minute (R > 0). Empty on a bad text.
    static std::optional<TemperatureProgramme> parseRamp(const QString &text, bool back,
                                                         QString *error = nullptr);

    double at(qint64 elapsedMs) const;

private:
    double m_from = 20;
    double m_to = 20;
    double m_rate = 0; // degrees per minute
    bool m_back = false;
};
