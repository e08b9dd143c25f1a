#include "plot/temperature_trend.h"

#include <cmath>
#include <iterator>

void TTemperatureTrend::addSample(double seconds, double temperature) {
    if (!std::isfinite(temperature) || (!m_samples.empty() && seconds <= m_samples.back().seconds))
        return;
    m_samples.push_back({seconds, temperature});
    while (m_samples.front().seconds < seconds - kWindowSeconds)
        m_samples.pop_front();
}

std::optional<double> TTemperatureTrend::latestTemperature() const {
    if (m_samples.empty())
        return std::nullopt;
    return m_samples.back().temperature;
}

std::optional<TTemperatureTrend::Drift> TTemperatureTrend::drift(double nowSeconds) const {
    if (m_samples.empty() || nowSeconds - m_samples.back().seconds > kStaleSeconds)
        return std::nullopt;
    std::optional<Drift> d = fit(m_samples.begin(), m_samples.end());
    if (!d)
        return std::nullopt;
    const double lastMinute = m_samples.back().seconds - kStableWindowSeconds;
    auto first = m_samples.end();
    while (first != m_samples.begin() && std::prev(first)->seconds >= lastMinute)
        --first;
    if (const std::optional<Drift> recent = fit(first, m_samples.end()))
        d->stable = std::fabs(recent->degreesPerMinute) < kStableDegreesPerMinute;
    return d;
}

std::optional<TTemperatureTrend::Drift> TTemperatureTrend::fit(Samples::const_iterator first,
                                                               Samples::const_iterator end) {
    const int n = int(std::distance(first, end));
    if (n < kFewestSamples || std::prev(end)->seconds - first->seconds < kShortestSpanSeconds)
        return std::nullopt;

    // Least squares about the means, which keeps the sums small.
    double meanT = 0.0, meanY = 0.0;
    for (auto s = first; s != end; ++s) {
        meanT += s->seconds;
        meanY += s->temperature;
    }
    meanT /= n;
    meanY /= n;
    double sxx = 0.0, sxy = 0.0;
    for (auto s = first; s != end; ++s) {
        sxx += (s->seconds - meanT) * (s->seconds - meanT);
        sxy += (s->seconds - meanT) * (s->temperature - meanY);
    }
    const double slope = sxy / sxx;
    double residuals = 0.0;
    for (auto s = first; s != end; ++s) {
        const double r = s->temperature - meanY - slope * (s->seconds - meanT);
        residuals += r * r;
    }
    const double standardError = std::sqrt(residuals / (n - 2) / sxx);

    Drift d;
    d.degreesPerMinute = slope * 60.0;
    d.significant = std::fabs(slope) > 2.0 * standardError;
    return d;
}

TArrival estimateArrival(std::optional<double> temperature,
                         std::optional<TTemperatureTrend::Drift> drift,
                         const QVector<double> &openSetPoints, double tolerance) {
    TArrival arrival;
    if (!temperature)
        return arrival;
    const double t = *temperature;
    for (double setPoint : openSetPoints)
        if (std::fabs(setPoint - t) < tolerance) {
            arrival.state = TArrival::Reached;
            arrival.setPoint = setPoint;
            return arrival;
        }
    if (!drift)
        return arrival;

    arrival.state = TArrival::Away;
    if (!drift->significant || drift->stable || drift->degreesPerMinute == 0.0)
        return arrival;
    const double direction = drift->degreesPerMinute > 0 ? 1.0 : -1.0;
    double nearest = 0.0;
    bool found = false;
    for (double setPoint : openSetPoints) {
        const double ahead = (setPoint - t) * direction;
        if (ahead > 0 && (!found || ahead < (nearest - t) * direction)) {
            nearest = setPoint;
            found = true;
        }
    }
    if (!found)
        return arrival;
    const double edge = nearest - direction * tolerance;
    arrival.state = TArrival::Arriving;
    arrival.setPoint = nearest;
    arrival.seconds = (edge - t) / drift->degreesPerMinute * 60.0;
    return arrival;
}
