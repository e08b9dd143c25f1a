#include "plot/relaxation_analysis.h"

#include "material/dielectric.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What the admittance says when no sample is given: the complex capacitance
// C* = Y / (j w), as eps* times C0.
TMaterialValues capacitanceValues(std::complex<double> y, double frequencyHz) {
    return materialValues(y, frequencyHz, TSampleCell{1.0, kVacuumPermittivity});
}

bool valuesOf(const TPlotReading &reading, const std::optional<TSampleCell> &cell,
              TMaterialValues *values) {
    std::complex<double> y;
    if (admittanceOf(reading.pair(), reading.FrequencyHz, &y) != TPairProblem::None)
        return false;
    *values = cell ? materialValues(y, reading.FrequencyHz, *cell)
                   : capacitanceValues(y, reading.FrequencyHz);
    return true;
}

} // namespace

bool needsSample(TRelaxationQuantity quantity) {
    return quantity == TRelaxationQuantity::EpsReal || quantity == TRelaxationQuantity::EpsImag ||
           quantity == TRelaxationQuantity::ModulusImag;
}

double cellQuantity(const TPlotReading &reading, TRelaxationQuantity quantity,
                    const std::optional<TSampleCell> &cell) {
    switch (quantity) {
    case TRelaxationQuantity::Main:
        return reading.MainValue;
    case TRelaxationQuantity::Secondary:
        return reading.SecValue;
    default:
        break;
    }
    if (needsSample(quantity) && !cell)
        return kNaN;
    TMaterialValues v;
    if (!valuesOf(reading, cell, &v))
        return kNaN;
    switch (quantity) {
    case TRelaxationQuantity::TanDelta:
        return v.TanDelta;
    case TRelaxationQuantity::EpsReal:
        return v.EpsReal;
    case TRelaxationQuantity::EpsImag:
        return v.EpsImag;
    default:
        return v.ModulusImag;
    }
}

QVector<TChartSeries> quantitySeries(const TRunReadings &readings, TRelaxationQuantity quantity,
                                     const std::optional<TSampleCell> &cell) {
    QVector<TChartSeries> series;
    QHash<int32_t, int> seriesOfFrequency;
    const QVector<TPlotReading> &all = readings.readings();
    for (auto it = readings.cells().cbegin(); it != readings.cells().cend(); ++it) {
        const TPlotReading &r = all[it.value()];
        const double value = cellQuantity(r, quantity, cell);
        if (!std::isfinite(value) || !std::isfinite(r.Temperature) || r.FrequencyHz <= 0)
            continue;
        auto found = seriesOfFrequency.constFind(r.FrequencyHz);
        if (found == seriesOfFrequency.cend()) {
            found = seriesOfFrequency.insert(r.FrequencyHz, int(series.size()));
            series.append({r.FrequencyHz, QString(), {}});
        }
        series[*found].Points.append(
            {quint64(quint32(r.Row)), it.key(), QPointF(r.Temperature, value)});
    }
    std::sort(series.begin(), series.end(),
              [](const TChartSeries &a, const TChartSeries &b) { return a.Group < b.Group; });
    return series;
}

TRelaxationAnalysis analyseRun(const TRunReadings &readings, TRelaxationQuantity quantity,
                               const std::optional<TSampleCell> &cell) {
    TRelaxationAnalysis analysis;
    analysis.Peaks = findPeaks(quantitySeries(readings, quantity, cell));
    analysis.Usable = usablePeaks(analysis.Peaks);
    analysis.Arrhenius = fitArrhenius(analysis.Usable);
    analysis.VogelFulcher = fitVogelFulcher(analysis.Usable);
    return analysis;
}

QByteArray peaksCsv(const TRunReadings &readings, const std::optional<TSampleCell> &cell) {
    const TPeakTableFormat format{
        QLatin1Char(','), QLatin1Char('.'),
        QStringList{QStringLiteral("frequency_Hz"), QStringLiteral("T_m_C"),
                    QStringLiteral("T_m_K"), QStringLiteral("value"), QStringLiteral("peak")},
        QStringList{QStringLiteral("inside"), QStringLiteral("edge"),
                    QStringLiteral("few_points"), QStringLiteral("flat")}};
    // The parameters as the meter named them, as the export's lines name them.
    const auto measuredName = [&](bool main, const char *fallback) {
        const QVector<TPlotReading> &all = readings.readings();
        const QString name = all.isEmpty() ? QString()
                             : main        ? all.first().MainName.trimmed()
                                           : all.first().SecName.trimmed();
        return name.isEmpty() ? QString::fromLatin1(fallback) : name;
    };
    QVector<QPair<QString, TRelaxationQuantity>> quantities = {
        {measuredName(true, "main"), TRelaxationQuantity::Main},
        {measuredName(false, "secondary"), TRelaxationQuantity::Secondary},
        {QStringLiteral("tan_delta"), TRelaxationQuantity::TanDelta}};
    if (cell)
        quantities += {{QStringLiteral("eps_real"), TRelaxationQuantity::EpsReal},
                       {QStringLiteral("eps_imag"), TRelaxationQuantity::EpsImag},
                       {QStringLiteral("modulus_imag"), TRelaxationQuantity::ModulusImag}};
    QString text = QStringLiteral("quantity,") + format.Titles.join(format.FieldSeparator) +
                   QLatin1Char('\n');
    for (const auto &[name, quantity] : quantities) {
        const QString table =
            peakTable(findPeaks(quantitySeries(readings, quantity, cell)), format);
        // Each line after the table's own title, under the name of its quantity.
        for (const QString &line : table.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1))
            text += name + QLatin1Char(',') + line + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QVector<TColeColePoint> coleColeOfRow(const TRunReadings &readings, int32_t row, bool modulus,
                                      const std::optional<TSampleCell> &cell) {
    TChartSeries real, imaginary;
    const QVector<TPlotReading> &all = readings.readings();
    for (auto it = readings.cells().cbegin(); it != readings.cells().cend(); ++it) {
        const TPlotReading &r = all[it.value()];
        TMaterialValues v;
        if (r.Row != row || !valuesOf(r, cell, &v))
            continue;
        const double re = modulus ? v.ModulusReal : v.EpsReal;
        const double im = modulus ? v.ModulusImag : v.EpsImag;
        if (!std::isfinite(re) || !std::isfinite(im))
            continue;
        const quint64 order = (quint64(quint32(r.FrequencyHz)) << 32) | quint32(r.Col);
        real.Points.append({order, it.key(), QPointF(r.FrequencyHz, re)});
        imaginary.Points.append({order, it.key(), QPointF(r.FrequencyHz, im)});
    }
    const auto byOrder = [](const TSeriesPoint &a, const TSeriesPoint &b) {
        return a.Order < b.Order;
    };
    std::sort(real.Points.begin(), real.Points.end(), byOrder);
    return coleColePoints(real, imaginary);
}
