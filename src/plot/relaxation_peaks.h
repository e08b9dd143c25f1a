#pragma once

#include "plot/chart_series.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>

// The maximum of one frequency's quantity over the temperatures of a run, as
// the loss of a relaxation or the permittivity of a transition shows it.
struct TRelaxationPeak {
    enum class Kind {
        Inside,       // refined by the parabola through the largest point and its neighbours
        AtEdge,       // the largest value lies at the coldest or the hottest point
        TooFewPoints, // fewer than three points with a value
        Flat,         // no point rises above the others
    };
    double FrequencyHz = 0.0;
    // T_m in °C and the value there; for a peak at the edge the largest point
    // itself, NaN when there is no point or no single largest one.
    double TemperatureC = std::numeric_limits<double>::quiet_NaN();
    double Value = std::numeric_limits<double>::quiet_NaN();
    int PointCount = 0; // points with a finite temperature and value
    Kind kind = Kind::TooFewPoints;

    // Only a peak with measured points on both sides says where the maximum is.
    bool usable() const { return kind == Kind::Inside; }
};

// The peak of the points (temperature in °C, value) of one frequency, in any
// order; points with a NaN or infinite coordinate are left out. When several
// points share the largest value the coldest of them is taken, and the
// parabola through its neighbours puts the peak between the equal ones.
TRelaxationPeak findPeak(double frequencyHz, QVector<QPointF> points);

// The peak of every series of a chart that draws its quantity against the
// temperature (one series per frequency, the group being the frequency in Hz),
// in the order of the series.
QVector<TRelaxationPeak> findPeaks(const QVector<TChartSeries> &series);

// How a table of peaks is written: for the clipboard (tabs, the locale's
// separator, the user's language) or a file for data tools.
struct TPeakTableFormat {
    QChar FieldSeparator = QLatin1Char('\t');
    QChar DecimalSeparator = QLatin1Char(',');
    // frequency (Hz), T_m (°C), T_m (K), value, note
    QStringList Titles;
    // The note of each kind, in the order of TRelaxationPeak::Kind.
    QStringList KindNotes;
};

// A title line, then one line per peak ending in a line break: frequency, T_m
// in °C and in K, value (empty fields where they are NaN) and the note of its kind.
QString peakTable(const QVector<TRelaxationPeak> &peaks, const TPeakTableFormat &format);
