#include "plot_support.h"
#include "relaxation_support.h"

#include "base/number_format.h"
#include "meter/meter_tables.h"
#include "plot/relaxation_analysis.h"

#include <gtest/gtest.h>

#include <complex>

namespace {

using namespace metertables;

constexpr double kEmptyCellF = 10e-12;
constexpr double kEpsInf = 4.0;
constexpr double kDeltaEps = 6.0;
const QVector<int> kHz = {100, 1000, 10000, 100000, 1000000};

std::complex<double> debye(double hz, double kelvin) {
    const double wt = 2 * M_PI * hz * arrheniusTime(0.5, 1e-13)(kelvin);
    return kEpsInf + kDeltaEps / std::complex<double>(1.0, wt);
}

// A run of Cp with D over -60 .. 200 °C every 2 degrees, the sample's
// eps* = eps' - j eps'' a Debye relaxation with E = 0.5 eV and tau0 = 1E-13 s.
TRunReadings debyeRun() {
    TRunReadings readings(QLatin1Char(','));
    int row = 1;
    for (double c = -60; c <= 200; c += 2, ++row) {
        for (int col = 0; col < kHz.size(); ++col) {
            const std::complex<double> eps = debye(kHz[col], c + kZeroCelsiusK);
            TJournalReading r = cpReading(row, col + 2, kHz[col], c, "");
            r.Frame[kMainCodeByte] = char(kCpCode);
            r.Frame[kSecondaryCodeByte] = char(kDissipationCode);
            r.MainBase = numfmt::general(eps.real() * kEmptyCellF, QLatin1Char(','));
            r.SecBase = numfmt::general(-eps.imag() / eps.real(), QLatin1Char(','));
            readings.add(r);
        }
    }
    return readings;
}

TEST(RelaxationAnalysis, LossOfTheSampleGivesTheActivationEnergyBack) {
    const TRunReadings readings = debyeRun();
    const TSampleCell cell{kEmptyCellF, kVacuumPermittivity / kEmptyCellF};

    const TRelaxationAnalysis loss = analyseRun(readings, TRelaxationQuantity::EpsImag, cell);
    ASSERT_EQ(loss.Peaks.size(), kHz.size());
    EXPECT_EQ(loss.Usable.size(), kHz.size());
    for (const TRelaxationPeak &peak : loss.Peaks)
        EXPECT_NEAR(peak.Value, kDeltaEps / 2, 0.01) << peak.FrequencyHz;
    ASSERT_TRUE(loss.Arrhenius.ok());
    EXPECT_NEAR(loss.Arrhenius.ActivationEv, 0.5, 0.005);
    EXPECT_NEAR(std::log10(loss.Arrhenius.Tau0S), -13, 0.1);
    EXPECT_TRUE(loss.VogelFulcher.ok() ||
                loss.VogelFulcher.problem == TVogelFulcherFit::Problem::FreezingBelowZero)
        << "an Arrhenius law has T_VF at 0 K";

    // tan delta peaks where w tau = sqrt(eps_s / eps_inf): colder, same E.
    const TRelaxationAnalysis tanDelta =
        analyseRun(readings, TRelaxationQuantity::TanDelta, std::nullopt);
    ASSERT_TRUE(tanDelta.Arrhenius.ok());
    EXPECT_NEAR(tanDelta.Arrhenius.ActivationEv, 0.5, 0.005);
    EXPECT_LT(tanDelta.Peaks[0].TemperatureC, loss.Peaks[0].TemperatureC);
    // D as displayed is tan delta.
    const TRelaxationAnalysis d =
        analyseRun(readings, TRelaxationQuantity::Secondary, std::nullopt);
    EXPECT_NEAR(d.Peaks[2].TemperatureC, tanDelta.Peaks[2].TemperatureC, 1e-9);

    // Permittivity and modulus need the sample.
    EXPECT_TRUE(analyseRun(readings, TRelaxationQuantity::EpsImag, std::nullopt).Peaks.isEmpty());
    EXPECT_FALSE(analyseRun(readings, TRelaxationQuantity::ModulusImag, cell).Peaks.isEmpty());
}

TEST(RelaxationAnalysis, PeaksFileHoldsEveryQuantityAsADataToolReadsIt) {
    const TRunReadings readings = debyeRun();
    const TSampleCell cell{kEmptyCellF, kVacuumPermittivity / kEmptyCellF};
    const QList<QByteArray> lines = peaksCsv(readings, cell).split('\n');
    ASSERT_EQ(lines.size(), 1 + 6 * kHz.size() + 1);
    EXPECT_EQ(lines[0], "quantity,frequency_Hz,T_m_C,T_m_K,value,peak");
    EXPECT_TRUE(lines.last().isEmpty());
    QStringList quantities;
    for (int i = 1; i < lines.size() - 1; i += kHz.size())
        quantities << QString::fromUtf8(lines[i].split(',')[0]);
    EXPECT_EQ(quantities, QStringList({"Cp", "D", "tan_delta", "eps_real", "eps_imag",
                                       "modulus_imag"}));

    // The loss peaks as the analysis finds them, with "." and T_m in kelvin too.
    const TRelaxationAnalysis loss = analyseRun(readings, TRelaxationQuantity::EpsImag, cell);
    for (int i = 0; i < kHz.size(); ++i) {
        const QList<QByteArray> f = lines[1 + 4 * kHz.size() + i].split(',');
        ASSERT_EQ(f.size(), 6) << lines[1 + 4 * kHz.size() + i].toStdString();
        EXPECT_EQ(f[1].toInt(), kHz[i]);
        EXPECT_NEAR(f[2].toDouble(), loss.Peaks[i].TemperatureC, 1e-6);
        EXPECT_NEAR(f[3].toDouble(), loss.Peaks[i].TemperatureC + kZeroCelsiusK, 1e-6);
        EXPECT_NEAR(f[4].toDouble(), loss.Peaks[i].Value, 1e-6 * loss.Peaks[i].Value);
        EXPECT_EQ(f[5], "inside");
    }
    // eps' of a relaxation rises to eps_s as it warms: its maximum is at the hot edge.
    EXPECT_TRUE(lines[1 + 3 * kHz.size()].endsWith(",edge"));

    // Without a sample only what the readings fix by themselves.
    EXPECT_EQ(peaksCsv(readings, std::nullopt).split('\n').size(), 1 + 3 * kHz.size() + 1);
    EXPECT_EQ(peaksCsv(TRunReadings(QLatin1Char(',')), std::nullopt),
              "quantity,frequency_Hz,T_m_C,T_m_K,value,peak\n");
}

TEST(RelaxationAnalysis, ColeColeOfASetPointLiesOnTheDebyeSemicircle) {
    const TRunReadings readings = debyeRun();
    const TSampleCell cell{kEmptyCellF, kVacuumPermittivity / kEmptyCellF};
    const int row = 51; // 40 °C
    const QVector<TColeColePoint> eps = coleColeOfRow(readings, row, false, cell);
    ASSERT_EQ(eps.size(), kHz.size());
    for (int i = 0; i < eps.size(); ++i) {
        EXPECT_EQ(eps[i].FrequencyHz, kHz[i]);
        const double centre = kEpsInf + kDeltaEps / 2;
        EXPECT_NEAR(std::hypot(eps[i].Real - centre, eps[i].Imaginary), kDeltaEps / 2, 1e-9);
    }
    // Without a sample the complex capacitance: the same points times C0.
    const QVector<TColeColePoint> c = coleColeOfRow(readings, row, false, std::nullopt);
    ASSERT_EQ(c.size(), eps.size());
    EXPECT_NEAR(c[1].Real, eps[1].Real * kEmptyCellF, 1e-9 * c[1].Real);
    EXPECT_NEAR(c[1].Imaginary, eps[1].Imaginary * kEmptyCellF, 1e-9 * c[1].Imaginary);
    // The modulus: M' + j M'' = 1 / (eps' - j eps'').
    const QVector<TColeColePoint> m = coleColeOfRow(readings, row, true, cell);
    const std::complex<double> inverse = 1.0 / std::complex<double>(eps[3].Real, -eps[3].Imaginary);
    EXPECT_NEAR(m[3].Real, inverse.real(), 1e-12);
    EXPECT_NEAR(m[3].Imaginary, inverse.imag(), 1e-12);
    EXPECT_TRUE(coleColeOfRow(readings, 9999, false, cell).isEmpty());
}

} // namespace
