#pragma once

#include "plot/relaxation_peaks.h"

#include <QVector>

#include <limits>

// What the temperatures of the peaks say about the relaxation time. With
// tau the relaxation time, a loss peak at frequency f lies where 2 pi f tau = 1.

// The Boltzmann constant in eV/K.
inline constexpr double kBoltzmannEvPerK = 8.617333262E-5;
inline constexpr double kZeroCelsiusK = 273.15;

// One usable peak as the fits take it.
struct TPeakPoint {
    double FrequencyHz = 0.0;
    double TemperatureK = 0.0;
};

// The usable peaks (inside the measured range, positive frequency, T_m above
// 0 K), in the order given.
QVector<TPeakPoint> usablePeaks(const QVector<TRelaxationPeak> &peaks);

// Arrhenius: tau = tau0 exp(E / (k T)), so ln f = -ln(2 pi tau0) - E / (k T_m).
// A least-squares line of ln f against 1000 / T_m (K).
struct TArrheniusFit {
    enum class Problem {
        None,
        TooFewPeaks,     // fewer than two usable peaks
        SameTemperature, // every peak at one temperature: no line through them
    };
    Problem problem = Problem::TooFewPeaks;
    int PeakCount = 0;
    double Slope = std::numeric_limits<double>::quiet_NaN();     // d ln f / d (1000 / T)
    double Intercept = std::numeric_limits<double>::quiet_NaN(); // ln f at 1000 / T = 0
    double ActivationEv = std::numeric_limits<double>::quiet_NaN();
    // From the scatter about the line; NaN with two peaks, which fix the line exactly.
    double ActivationErrorEv = std::numeric_limits<double>::quiet_NaN();
    double Tau0S = std::numeric_limits<double>::quiet_NaN();
    double RSquared = std::numeric_limits<double>::quiet_NaN();

    bool ok() const { return problem == Problem::None; }
    // ln f of the line at 1000 / T.
    double lnFrequencyAt(double thousandOverT) const { return Intercept + Slope * thousandOverT; }
};

TArrheniusFit fitArrhenius(const QVector<TPeakPoint> &peaks);

// Vogel-Fulcher: f = f0 exp(-E / (k (T_m - T_VF))), fitted to ln f by least
// squares when at least four peaks are usable.
struct TVogelFulcherFit {
    enum class Problem {
        None,
        TooFewPeaks,       // fewer than four usable peaks
        NotConverged,      // the least squares found no minimum
        FreezingAbovePeak, // T_VF at or above the coldest peak
        FreezingBelowZero, // T_VF below 0 K: the peaks follow no freezing
        NoActivation,      // E not positive: the peaks do not move up in frequency with T
    };
    Problem problem = Problem::TooFewPeaks;
    int PeakCount = 0;
    double ActivationEv = std::numeric_limits<double>::quiet_NaN();
    double FreezingK = std::numeric_limits<double>::quiet_NaN(); // T_VF
    double F0Hz = std::numeric_limits<double>::quiet_NaN();
    // Standard errors from the scatter about the fit and its slopes there.
    double ActivationErrorEv = std::numeric_limits<double>::quiet_NaN();
    double FreezingErrorK = std::numeric_limits<double>::quiet_NaN();
    // ln f measured minus ln f of the fit, one per peak in the order given.
    QVector<double> Residuals;
    // Root mean square of the residuals.
    double ResidualRms = std::numeric_limits<double>::quiet_NaN();

    bool ok() const { return problem == Problem::None; }
    // ln f of the fit at T (K), NaN at or below T_VF.
    double lnFrequencyAt(double temperatureK) const;
};

TVogelFulcherFit fitVogelFulcher(const QVector<TPeakPoint> &peaks);
