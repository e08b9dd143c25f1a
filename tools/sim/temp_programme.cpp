#include "temp_programme.h"

#include <QStringList>

#include <cmath>

TemperatureProgramme TemperatureProgramme::hold(double temperatureC) {
    TemperatureProgramme p;
    p.m_from = p.m_to = temperatureC;
    return p;
}

TemperatureProgramme TemperatureProgramme::ramp(double from, double to, double degreesPerMinute,
                                                bool back) {
    TemperatureProgramme p;
    p.m_from = from;
    p.m_to = to;
    p.m_rate = std::fabs(degreesPerMinute);
    p.m_back = back;
    return p;
}

std::optional<TemperatureProgramme> TemperatureProgramme::parseRamp(const QString &text, bool back,
                                                                    QString *error) {
    const QStringList parts = text.split(':');
    double values[3] = {};
    bool ok = parts.size() == 3;
    for (int i = 0; ok && i < 3; ++i)
        values[i] = parts[i].trimmed().toDouble(&ok);
    if (!ok || !(values[2] > 0) || !std::isfinite(values[0]) || !std::isfinite(values[1])) {
        if (error)
            *error = QStringLiteral("ramp wants FROM:TO:RATE with RATE > 0 degrees per minute, "
                                    "got \"%1\"")
                         .arg(text);
        return std::nullopt;
    }
    return ramp(values[0], values[1], values[2], back);
}

double TemperatureProgramme::at(qint64 elapsedMs) const {
    const double span = std::fabs(m_to - m_from);
    if (span == 0 || m_rate == 0)
        return m_from;
    const double travelled = m_rate * static_cast<double>(elapsedMs) / 60000.0;
    double distance = std::fmin(travelled, span);
    if (m_back) {
        const double phase = std::fmod(travelled, 2 * span);
        distance = phase <= span ? phase : 2 * span - phase;
    }
    return m_from + (m_to > m_from ? distance : -distance);
}
