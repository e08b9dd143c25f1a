#include "relaxation_support.h"

#include "plot/activation_fit.h"
#include "plot/relaxation_peaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using ArrheniusProblem = TArrheniusFit::Problem;
using VfProblem = TVogelFulcherFit::Problem;

// Peak temperatures (K) where f = f0 exp(-E / (k (T - T_VF))).
QVector<TPeakPoint> vogelFulcherPeaks(double activationEv, double freezingK, double f0Hz,
                                      const QVector<double> &frequenciesHz) {
    QVector<TPeakPoint> peaks;
    for (double hz : frequenciesHz)
        peaks.append({hz, freezingK + activationEv / (kBoltzmannEvPerK * std::log(f0Hz / hz))});
    return peaks;
}

TRelaxationPeak peakAt(double hz, double celsius, TRelaxationPeak::Kind kind) {
    TRelaxationPeak peak;
    peak.FrequencyHz = hz;
    peak.TemperatureC = celsius;
    peak.kind = kind;
    return peak;
}

TEST(ActivationFit, OnlyPeaksInsideTheRangeAreFitted) {
    using Kind = TRelaxationPeak::Kind;
    const QVector<TPeakPoint> usable =
        usablePeaks({peakAt(100, 20, Kind::Inside), peakAt(1000, 30, Kind::AtEdge),
                     peakAt(1E4, 40, Kind::TooFewPoints), peakAt(1E5, NAN, Kind::Flat),
                     peakAt(0, 50, Kind::Inside), peakAt(1E6, -300, Kind::Inside),
                     peakAt(1E6, 60, Kind::Inside)});
    ASSERT_EQ(usable.size(), 2);
    EXPECT_EQ(usable[0].FrequencyHz, 100);
    EXPECT_DOUBLE_EQ(usable[0].TemperatureK, 293.15);
    EXPECT_EQ(usable[1].FrequencyHz, 1E6);
}

TEST(ActivationFit, ArrheniusOfExactPeaksGivesTheLawBack) {
    // T_m where 2 pi f tau0 exp(E / k T_m) = 1.
    QVector<TPeakPoint> peaks;
    for (double hz : decadeFrequencies())
        peaks.append({hz, 0.5 / (kBoltzmannEvPerK * std::log(1.0 / (2 * M_PI * hz * 1e-13)))});
    const TArrheniusFit fit = fitArrhenius(peaks);
    ASSERT_TRUE(fit.ok());
    EXPECT_EQ(fit.PeakCount, peaks.size());
    EXPECT_NEAR(fit.ActivationEv, 0.5, 1e-12);
    EXPECT_NEAR(fit.Tau0S / 1e-13, 1.0, 1e-9);
    EXPECT_NEAR(fit.RSquared, 1.0, 1e-12);
    EXPECT_LT(fit.ActivationErrorEv, 1e-9);
    EXPECT_NEAR(fit.lnFrequencyAt(1000.0 / peaks[0].TemperatureK), std::log(100.0), 1e-9);
}

TEST(ActivationFit, ArrheniusFromLossCurvesOverFourDecades) {
    const QVector<TChartSeries> curves =
        lossSeries(decadeFrequencies(), arrheniusTime(0.5, 1e-13), -100, 200, 2.0);
    const TArrheniusFit fit = fitArrhenius(usablePeaks(findPeaks(curves)));
    ASSERT_TRUE(fit.ok());
    EXPECT_EQ(fit.PeakCount, 9);
    EXPECT_NEAR(fit.ActivationEv, 0.5, 0.005);
    EXPECT_NEAR(std::log10(fit.Tau0S), -13.0, 0.1);
    EXPECT_GT(fit.RSquared, 0.9999);
}

TEST(ActivationFit, ArrheniusWithNoisyReadingsSaysHowSureItIs) {
    std::mt19937 random(21);
    const QVector<TChartSeries> curves =
        lossSeries(decadeFrequencies(), arrheniusTime(0.5, 1e-13), -100, 200, 2.0, 0.01, &random);
    const TArrheniusFit fit = fitArrhenius(usablePeaks(findPeaks(curves)));
    ASSERT_TRUE(fit.ok());
    EXPECT_EQ(fit.PeakCount, 9);
    EXPECT_NEAR(fit.ActivationEv, 0.5, 0.015);
    EXPECT_GT(fit.ActivationErrorEv, 0.0);
    EXPECT_LT(std::abs(fit.ActivationEv - 0.5), 4 * fit.ActivationErrorEv + 0.005);
    EXPECT_LT(fit.RSquared, 1.0);
    EXPECT_GT(fit.RSquared, 0.99);
}

TEST(ActivationFit, ArrheniusNeedsTwoPeaksAtTwoTemperatures) {
    EXPECT_EQ(int(fitArrhenius({}).problem), int(ArrheniusProblem::TooFewPeaks));
    EXPECT_EQ(int(fitArrhenius({{1000, 300}}).problem), int(ArrheniusProblem::TooFewPeaks));
    EXPECT_EQ(int(fitArrhenius({{1000, 300}, {1E4, 300}}).problem),
              int(ArrheniusProblem::SameTemperature));

    // Two peaks fix the line: no scatter to judge it by.
    const TArrheniusFit two = fitArrhenius({{1000, 300}, {1E4, 320}});
    ASSERT_TRUE(two.ok());
    EXPECT_GT(two.ActivationEv, 0.0);
    EXPECT_TRUE(std::isnan(two.ActivationErrorEv));
    EXPECT_DOUBLE_EQ(two.RSquared, 1.0);
}

TEST(ActivationFit, VogelFulcherOfExactPeaksGivesTheLawBack) {
    const QVector<TPeakPoint> peaks = vogelFulcherPeaks(0.04, 250, 1e12, decadeFrequencies());
    const TVogelFulcherFit fit = fitVogelFulcher(peaks);
    ASSERT_TRUE(fit.ok()) << int(fit.problem);
    EXPECT_NEAR(fit.FreezingK, 250, 1e-4);
    EXPECT_NEAR(fit.ActivationEv, 0.04, 1e-7);
    EXPECT_NEAR(std::log10(fit.F0Hz), 12, 1e-4);
    ASSERT_EQ(fit.Residuals.size(), peaks.size());
    EXPECT_LT(fit.ResidualRms, 1e-6);
    EXPECT_LT(fit.FreezingErrorK, 1e-3);
    EXPECT_NEAR(fit.lnFrequencyAt(peaks[3].TemperatureK), std::log(peaks[3].FrequencyHz), 1e-6);
    EXPECT_TRUE(std::isnan(fit.lnFrequencyAt(250)));
}

TEST(ActivationFit, VogelFulcherFromLossCurvesOfARelaxor) {
    for (double noise : {0.0, 0.005}) {
        std::mt19937 random(7);
        const QVector<TChartSeries> curves =
            lossSeries(decadeFrequencies(), vogelFulcherTime(0.04, 250, 1e12), -10, 20, 0.5, noise,
                       noise > 0 ? &random : nullptr);
        const TVogelFulcherFit fit = fitVogelFulcher(usablePeaks(findPeaks(curves)));
        ASSERT_TRUE(fit.ok()) << noise << ": " << int(fit.problem);
        EXPECT_EQ(fit.PeakCount, 9);
        EXPECT_NEAR(fit.FreezingK, 250, 1.0) << noise;
        EXPECT_GT(fit.ResidualRms, 0.0);
        // The errors it states cover what it missed by.
        EXPECT_LT(std::abs(fit.FreezingK - 250), 3 * fit.FreezingErrorK + 0.1) << noise;
        EXPECT_LT(std::abs(fit.ActivationEv - 0.04), 3 * fit.ActivationErrorEv + 0.0005) << noise;
    }
}

TEST(ActivationFit, VogelFulcherSaysWhyItHasNoAnswer) {
    // Three peaks cannot fix three parameters and judge them.
    EXPECT_EQ(int(fitVogelFulcher(vogelFulcherPeaks(0.04, 250, 1e12, {100, 1e3, 1e4})).problem),
              int(VfProblem::TooFewPeaks));
    // Peaks that bend the other way on ln f against 1/T want T_VF below 0 K.
    EXPECT_EQ(int(fitVogelFulcher(vogelFulcherPeaks(0.8, -150, 1e14, decadeFrequencies())).problem),
              int(VfProblem::FreezingBelowZero));
    // Peaks that move to lower frequencies as the temperature rises.
    QVector<TPeakPoint> backwards = vogelFulcherPeaks(0.04, 250, 1e12, decadeFrequencies());
    for (int i = 0; i < backwards.size() / 2; ++i)
        std::swap(backwards[i].TemperatureK, backwards[backwards.size() - 1 - i].TemperatureK);
    EXPECT_EQ(int(fitVogelFulcher(backwards).problem), int(VfProblem::NoActivation));
}

} // namespace
