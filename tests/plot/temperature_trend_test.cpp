#include "plot/temperature_trend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// A thermometer line every second for `seconds`, starting at time 1000.
TTemperatureTrend history(double seconds, const std::function<double(double)> &temperatureAt) {
    TTemperatureTrend trend;
    for (double t = 0; t <= seconds; t += 1.0)
        trend.addSample(1000 + t, temperatureAt(t));
    return trend;
}

// The DS1820 reads in steps of 1/16 degree; the scatter is a fixed pattern
// of up to two steps either way.
double noisy(double t, double value) {
    static constexpr int kPattern[] = {0, 2, -1, 1, -2, 0, 1, -1, 2, -2, 1, 0, -1};
    const double withNoise = value + kPattern[int(t) % 13] * 0.0625;
    return std::round(withNoise * 16) / 16;
}

struct HistoryCase {
    const char *name;
    std::function<double(double)> temperatureAt;
    bool significant;
    double perMinute; // expected drift, when significant
};

TEST(TemperatureTrend, DriftOfScriptedHistories) {
    const HistoryCase cases[] = {
        {"rising 0.5 per minute", [](double t) { return 20 + t / 120; }, true, 0.5},
        {"falling 2 per minute", [](double t) { return 30 - t / 30; }, true, -2.0},
        {"flat", [](double) { return 21.5; }, false, 0},
        {"noisy rising 0.3 per minute", [](double t) { return noisy(t, 20 + t * 0.005); }, true,
         0.3},
        {"noisy flat", [](double t) { return noisy(t, 21.5); }, false, 0},
    };
    for (const HistoryCase &c : cases) {
        SCOPED_TRACE(c.name);
        // Ten minutes of history; only the last three count.
        const TTemperatureTrend trend = history(600, c.temperatureAt);
        const auto drift = trend.drift(1600);
        ASSERT_TRUE(drift);
        EXPECT_EQ(drift->significant, c.significant) << drift->degreesPerMinute;
        EXPECT_NEAR(drift->degreesPerMinute, c.significant ? c.perMinute : 0, 0.02);
    }
}

TEST(TemperatureTrend, OnlyTheLastMinutesCount) {
    // Heating for ten minutes, then holding for the last five.
    const TTemperatureTrend trend =
        history(900, [](double t) { return t < 600 ? 20 + t / 60 : 30.0; });
    const auto drift = trend.drift(1900);
    ASSERT_TRUE(drift);
    EXPECT_FALSE(drift->significant);
    EXPECT_EQ(trend.latestTemperature(), 30.0);
}

// The three-minute window lags behind a ramp that has stopped; the last
// minute alone says whether the temperature stands still now.
TEST(TemperatureTrend, StableWhenTheLastMinuteMovesLessThanAFewHundredthsOfADegree) {
    const auto rampStoppedAgo = [](double seconds) {
        return [seconds](double t) { return std::min(20 + t / 60, 20 + (600 - seconds) / 60); };
    };
    struct Case {
        const char *name;
        std::function<double(double)> temperatureAt;
        bool stable;
    };
    const Case cases[] = {
        {"ramp of 1 per minute stopped 70 s ago", rampStoppedAgo(70), true},
        {"ramp of 1 per minute stopped 20 s ago", rampStoppedAgo(20), false},
        {"ramp of 1 per minute still going", rampStoppedAgo(0), false},
        {"creeping 0.04 per minute", [](double t) { return 20 + t * 0.04 / 60; }, true},
        {"creeping 0.06 per minute", [](double t) { return 20 + t * 0.06 / 60; }, false},
        {"noisy flat", [](double t) { return noisy(t, 21.5); }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto drift = history(600, c.temperatureAt).drift(1600);
        ASSERT_TRUE(drift);
        EXPECT_EQ(drift->stable, c.stable) << drift->degreesPerMinute;
    }
    const auto stopped = history(600, rampStoppedAgo(70)).drift(1600);
    EXPECT_TRUE(stopped->significant && stopped->degreesPerMinute > 0.3)
        << "the window still sees the ramp: " << stopped->degreesPerMinute;
    EXPECT_FALSE(history(40, rampStoppedAgo(0)).drift(1040)->stable)
        << "40 s of a ramp: the last minute is all of it";
}

TEST(TemperatureTrend, NoDriftFromTooLittleOrStaleHistory) {
    const auto rising = [](double t) { return 20 + t / 60; };
    EXPECT_FALSE(history(20, rising).drift(1020)) << "20 s of history";
    EXPECT_FALSE(TTemperatureTrend().drift(0));
    EXPECT_FALSE(TTemperatureTrend().latestTemperature());
    const TTemperatureTrend trend = history(120, rising);
    EXPECT_TRUE(trend.drift(1120 + TTemperatureTrend::kStaleSeconds));
    EXPECT_FALSE(trend.drift(1121 + TTemperatureTrend::kStaleSeconds))
        << "the thermometer fell silent";

    // The same line shown again by every display refresh adds nothing.
    TTemperatureTrend repeated;
    for (int i = 0; i < 10; ++i)
        repeated.addSample(1000, 20 + i);
    for (int i = 0; i < 40; ++i)
        repeated.addSample(1000 + i, 20);
    const auto drift = repeated.drift(1040);
    ASSERT_TRUE(drift);
    EXPECT_EQ(drift->degreesPerMinute, 0.0);
}

TEST(TemperatureArrival, NextOpenSetPointInTheDirectionOfTheDrift) {
    const TTemperatureTrend::Drift up{0.5, true}, down{-0.25, true}, unclear{0.01, false};
    const QVector<double> open = {18, 22, 25};
    struct Case {
        const char *name;
        std::optional<double> temperature;
        std::optional<TTemperatureTrend::Drift> drift;
        TArrival::State state;
        double setPoint;
        double seconds;
    };
    const Case cases[] = {
        {"rising towards 22", 20.0, up, TArrival::Arriving, 22, (21.7 - 20.0) / 0.5 * 60},
        {"falling towards 18", 20.0, down, TArrival::Arriving, 18, (20.0 - 18.3) / 0.25 * 60},
        {"inside the band of 22", 21.8, down, TArrival::Reached, 22, 0},
        {"inside the band, no drift yet", 22.1, std::nullopt, TArrival::Reached, 22, 0},
        {"standing still", 20.0, unclear, TArrival::Away, 0, 0},
        {"a ramp that has just stopped", 20.0, TTemperatureTrend::Drift{0.6, true, true},
         TArrival::Away, 0, 0},
        {"rising away from all of them", 26.0, up, TArrival::Away, 0, 0},
        {"falling below all of them", 17.0, down, TArrival::Away, 0, 0},
        {"no drift yet", 20.0, std::nullopt, TArrival::Unknown, 0, 0},
        {"no temperature", std::nullopt, up, TArrival::Unknown, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TArrival a = estimateArrival(c.temperature, c.drift, open, 0.3);
        EXPECT_EQ(a.state, c.state);
        if (c.state == TArrival::Arriving || c.state == TArrival::Reached) {
            EXPECT_EQ(a.setPoint, c.setPoint);
        }
        EXPECT_NEAR(a.seconds, c.seconds, 1e-6);
    }
    EXPECT_EQ(estimateArrival(20.0, up, {}, 0.3).state, TArrival::Away) << "every cell is filled";
}

} // namespace
