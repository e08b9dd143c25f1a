#pragma once

#include "plot/chart_series.h"

#include <QVector>

// One frequency of a Cole-Cole plot: the imaginary part of a complex quantity
// (eps'' or M'') against its real part (eps' or M') at one set point.
struct TColeColePoint {
    double FrequencyHz = 0.0;
    double Real = 0.0;
    double Imaginary = 0.0;
};

// The points of one set point from the series of its real and of its
// imaginary part drawn against the frequency (the series of that set point
// in two charts): one point per cell that both have, by ascending frequency.
QVector<TColeColePoint> coleColePoints(const TChartSeries &real, const TChartSeries &imaginary);
