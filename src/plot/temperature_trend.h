#pragma once

#include <QVector>

#include <deque>
#include <optional>

// How fast the temperature moves, from the thermometer's last minutes: a
// straight line fitted to the readings of the window. A drift whose sign the
// scatter of the readings leaves open counts as no drift.
class TTemperatureTrend {
public:
    static constexpr double kWindowSeconds = 180.0;
    // Less history than this gives no drift yet.
    static constexpr double kShortestSpanSeconds = 30.0;
    static constexpr int kFewestSamples = 5;
    // A history whose newest reading is older than this is out of date.
    static constexpr double kStaleSeconds = 30.0;
    // The window lags behind a ramp that has just stopped; the last minute
    // alone says whether the temperature now stands still.
    static constexpr double kStableWindowSeconds = 60.0;
    static constexpr double kStableDegreesPerMinute = 0.05;

    struct Drift {
        double degreesPerMinute = 0.0;
        // The slope is further from zero than twice its standard error.
        bool significant = false;
        // Over the last minute the temperature moved by less than
        // kStableDegreesPerMinute a minute.
        bool stable = false;
    };

    void clear() { m_samples.clear(); }
    // A reading at `seconds` (any steady clock); readings no newer than the
    // last one are ignored, so a display showing the same line again adds nothing.
    void addSample(double seconds, double temperature);

    // nullopt while the window holds too little, or at `nowSeconds` the
    // newest reading is out of date.
    std::optional<Drift> drift(double nowSeconds) const;
    std::optional<double> latestTemperature() const;

private:
    struct Sample {
        double seconds;
        double temperature;
    };
    using Samples = std::deque<Sample>;
    // The least-squares line through [first, end): nothing while it holds
    // too little.
    static std::optional<Drift> fit(Samples::const_iterator first, Samples::const_iterator end);

    Samples m_samples;
};

// When the temperature reaches the nearest set point still to be measured in
// the direction it moves.
struct TArrival {
    enum State {
        Unknown,  // no temperature or no drift yet
        Away,     // no such set point ahead: the drift points away, or it stands still
        Reached,  // the temperature lies in the band of such a set point
        Arriving, // reaches its band in `seconds`
    };
    State state = Unknown;
    double setPoint = 0.0;
    double seconds = 0.0;
};

// openSetPoints: the set points whose rows still have empty cells; tolerance:
// their half band. The band's near edge counts as reached.
TArrival estimateArrival(std::optional<double> temperature,
                         std::optional<TTemperatureTrend::Drift> drift,
                         const QVector<double> &openSetPoints, double tolerance);
