// Loss curves of a Debye relaxation with a known law of its relaxation time,
// for the tests of the peaks and the fits.
#pragma once

#include "plot/activation_fit.h"
#include "plot/chart_series.h"

#include <QPointF>
#include <QVector>

#include <cmath>
#include <functional>
#include <random>

// tau (s) at a temperature (K).
using TRelaxationTime = std::function<double(double)>;

inline TRelaxationTime arrheniusTime(double activationEv, double tau0S) {
    return
        [=](double kelvin) { return tau0S * std::exp(activationEv / (kBoltzmannEvPerK * kelvin)); };
}

// f = f0 exp(-E / (k (T - T_VF))) at the peak, where 2 pi f tau = 1.
inline TRelaxationTime vogelFulcherTime(double activationEv, double freezingK, double f0Hz) {
    return [=](double kelvin) {
        return std::exp(activationEv / (kBoltzmannEvPerK * (kelvin - freezingK))) /
               (2.0 * M_PI * f0Hz);
    };
}

// eps''(T) = d_eps w tau / (1 + (w tau)^2) at one frequency, from fromC to
// toC (°C) in steps of stepK; each value times (1 + relativeNoise * N(0, 1)).
inline QVector<QPointF> lossCurve(double frequencyHz, const TRelaxationTime &tau, double fromC,
                                  double toC, double stepK, double relativeNoise = 0.0,
                                  std::mt19937 *random = nullptr) {
    std::normal_distribution<double> normal;
    QVector<QPointF> points;
    for (double c = fromC; c <= toC + 1e-9; c += stepK) {
        const double wt = 2.0 * M_PI * frequencyHz * tau(c + kZeroCelsiusK);
        double value = 3.0 * wt / (1.0 + wt * wt);
        if (random)
            value *= 1.0 + relativeNoise * normal(*random);
        points.append({c, value});
    }
    return points;
}

// One series per frequency, as a chart of the loss against the temperature holds them.
inline QVector<TChartSeries> lossSeries(const QVector<double> &frequenciesHz,
                                        const TRelaxationTime &tau, double fromC, double toC,
                                        double stepK, double relativeNoise = 0.0,
                                        std::mt19937 *random = nullptr) {
    QVector<TChartSeries> series;
    for (double hz : frequenciesHz) {
        TChartSeries s;
        s.Group = qint64(hz);
        const QVector<QPointF> curve = lossCurve(hz, tau, fromC, toC, stepK, relativeNoise, random);
        for (int i = 0; i < curve.size(); ++i)
            s.Points.append({quint64(i), 0, curve[i]});
        series.append(s);
    }
    return series;
}

// 100 Hz to 1 MHz, two frequencies a decade.
inline QVector<double> decadeFrequencies() {
    QVector<double> hz;
    for (double f = 100.0; f <= 1.0E6 * 1.0001; f *= std::sqrt(10.0))
        hz.append(std::round(f));
    return hz;
}
