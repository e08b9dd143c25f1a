// The simulator's relaxing sample, read back through the program's own frame
// decoder and material conversion.
#include "base/number_format.h"
#include "material/dielectric.h"
#include "meter/meter_decode.h"
#include "meter_model.h"
#include "relaxing_dielectric.h"
#include "sim_meter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps0 = 8.8541878128E-12;

double lossAt(const RelaxingDielectric &d, double temperatureC, int hz) {
    const CapacitorReading r = d.at(temperatureC, hz);
    return r.d * r.cp / (d.emptyCellPf * 1E-12);
}

TEST(SimDielectric, TheLossPeaksWhereOmegaTauIsOneAndMovesUpWithFrequency) {
    RelaxingDielectric d;
    d.sigmaDcSPerM = 0; // the relaxation alone
    double previous = -300;
    for (const int hz : {25, 100, 1000, 10000, 100000, 1000000}) {
        const double peak = d.peakTemperatureC(hz);
        EXPECT_NEAR(2 * kPi * hz * d.tauAt(peak), 1.0, 1E-12) << hz;
        EXPECT_NEAR(lossAt(d, peak, hz), d.deltaEps / 2, 1E-12) << hz;
        for (const double off : {-2.0, -0.5, 0.5, 2.0})
            EXPECT_LT(lossAt(d, peak + off, hz), lossAt(d, peak, hz)) << hz << " " << off;
        EXPECT_GT(peak, previous + 5) << hz;
        previous = peak;
    }
    // the defaults put the peaks of 100 Hz .. 100 kHz on a bench's range, as --help says
    EXPECT_NEAR(d.peakTemperatureC(100), 27, 0.5);
    EXPECT_NEAR(d.peakTemperatureC(1000), 39, 0.5);
    EXPECT_NEAR(d.peakTemperatureC(10000), 53, 0.5);
    EXPECT_NEAR(d.peakTemperatureC(100000), 67, 0.5);
}

TEST(SimDielectric, FarFromThePeakTheSampleIsFrozenOrRelaxedAndConductionShowsAtLowFrequency) {
    RelaxingDielectric d;
    // far below the peak tau is beyond a double's range: eps' = eps_inf, no relaxation loss
    const CapacitorReading frozen = d.at(-200, 1000);
    ASSERT_TRUE(std::isfinite(frozen.cp) && std::isfinite(frozen.d));
    EXPECT_NEAR(frozen.cp, d.epsInfinity * 10E-12, 1E-24);
    EXPECT_NEAR(frozen.d * d.epsInfinity, d.sigmaDcSPerM / (kEps0 * 2 * kPi * 1000), 1E-15);
    // far above it: the full strength
    EXPECT_NEAR(d.at(400, 25).cp, (d.epsInfinity + d.deltaEps) * 10E-12, 1E-15);
    // the dc term grows as the frequency falls
    EXPECT_GT(d.at(-50, 25).d, 10 * d.at(-50, 1000).d);
}

TEST(SimDielectric, TheMeterShowsCpAndDThatTheProgramTurnsBackIntoTheSample) {
    SimMeterOptions options;
    options.dielectric = RelaxingDielectric{};
    options.frequencyHz = 1000;
    SimMeter meter(options);
    const double temperature = 44.0;
    meter.setTemperatureSource([&] { return temperature; });
    for (const int hz : {100, 1000, 10000, 100000}) {
        meter.setFrequency(hz);
        const QByteArray frame = meter.currentFrame();
        std::array<uint8_t, 60> raw{};
        std::copy(frame.begin(), frame.end() - 1, raw.begin());
        const TIMPacket p = DecodeMeterPacket(raw, QLatin1Char('.'));
        ASSERT_EQ(p.MainName, "Cp");
        ASSERT_EQ(p.SecName, "D");
        ASSERT_EQ(p.FreqHz, hz);
        double cp = 0, dissipation = 0;
        ASSERT_TRUE(numfmt::parseFloat(p.MainBase, QLatin1Char('.'), &cp));
        ASSERT_TRUE(numfmt::parseFloat(p.SecBase, QLatin1Char('.'), &dissipation));
        TMaterialValues v;
        const double c0 = options.dielectric->emptyCellPf * 1E-12;
        ASSERT_EQ(
            materialValues({raw[10], cp, raw[11], dissipation}, p.FreqHz, {c0, kEps0 / c0}, &v),
            TPairProblem::None);
        const CapacitorReading truth = options.dielectric->at(temperature, hz);
        const double epsReal = truth.cp / c0;
        // five digits on the display
        EXPECT_NEAR(v.EpsReal / epsReal, 1.0, 1E-4) << hz;
        EXPECT_NEAR(v.EpsImag / (epsReal * truth.d), 1.0, 1E-3) << hz;
    }
}

} // namespace
