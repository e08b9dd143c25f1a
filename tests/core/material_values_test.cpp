#include "base/number_format.h"
#include "material/dielectric.h"
#include "meter/meter_decode.h"
#include "meter/meter_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <string>

namespace {

using namespace metertables;
using cplx = std::complex<double>;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;
constexpr double kEps0 = 8.8541878128E-12;

// A material of known permittivity eps* = eps' - j eps'' in a cell of
// capacitance C0, measured at frequency f.
struct Material {
    const char *name;
    double epsReal, epsImag, frequencyHz, c0;
};

TSampleCell cellOf(double c0) {
    return {c0, kEps0 / c0};
}

// The pair the meter would display for the material, written here from the
// definitions the other way round: from Y = j w C0 eps* to each quantity.
struct Rendering {
    const char *name;
    uint8_t mainCode, secCode;
    std::function<std::pair<double, double>(cplx y, double omega)> values;
    bool phase = false; // carries the loss as an angle near +-90 degrees
};

double degreesOf(cplx v) {
    return std::arg(v) * 180.0 / kPi;
}

const Rendering kRenderings[] = {
    {"Cp-D", kCpCode, kDissipationCode,
     [](cplx y, double w) { return std::pair(y.imag() / w, y.real() / std::fabs(y.imag())); }},
    {"Cp-Q", kCpCode, kQualityCode,
     [](cplx y, double w) { return std::pair(y.imag() / w, std::fabs(y.imag()) / y.real()); }},
    {"Cp-Rp", kCpCode, kRpCode,
     [](cplx y, double w) { return std::pair(y.imag() / w, 1.0 / y.real()); }},
    {"Cp-Gp", kCpCode, kGpCode, [](cplx y, double w) { return std::pair(y.imag() / w, y.real()); }},
    {"Cs-D", kCsCode, kDissipationCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(-1.0 / (w * z.imag()), z.real() / std::fabs(z.imag()));
     }},
    {"Cs-Q", kCsCode, kQualityCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(-1.0 / (w * z.imag()), std::fabs(z.imag()) / z.real());
     }},
    {"Cs-Rs", kCsCode, kRsCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(-1.0 / (w * z.imag()), z.real());
     }},
    {"Lp-Q", kLpCode, kQualityCode,
     [](cplx y, double w) {
         return std::pair(-1.0 / (w * y.imag()), std::fabs(y.imag()) / y.real());
     }},
    {"Lp-D", kLpCode, kDissipationCode,
     [](cplx y, double w) {
         return std::pair(-1.0 / (w * y.imag()), y.real() / std::fabs(y.imag()));
     }},
    {"Lp-Rp", kLpCode, kRpCode,
     [](cplx y, double w) { return std::pair(-1.0 / (w * y.imag()), 1.0 / y.real()); }},
    {"Ls-Q", kLsCode, kQualityCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(z.imag() / w, std::fabs(z.imag()) / z.real());
     }},
    {"Ls-D", kLsCode, kDissipationCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(z.imag() / w, z.real() / std::fabs(z.imag()));
     }},
    {"Ls-Rs", kLsCode, kRsCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(z.imag() / w, z.real());
     }},
    {"Rp-Cp", kRpCode, kCpCode,
     [](cplx y, double w) { return std::pair(1.0 / y.real(), y.imag() / w); }},
    {"Rp-Lp", kRpCode, kLpCode,
     [](cplx y, double w) { return std::pair(1.0 / y.real(), -1.0 / (w * y.imag())); }},
    {"Rp-Q", kRpCode, kQualityCode,
     [](cplx y, double) { return std::pair(1.0 / y.real(), y.imag() / y.real()); }},
    {"Rs-Xs", kRsCode, kXsCode,
     [](cplx y, double) {
         const cplx z = 1.0 / y;
         return std::pair(z.real(), z.imag());
     }},
    {"Gp-Bp", kGpCode, kBpCode, [](cplx y, double) { return std::pair(y.real(), y.imag()); }},
    {"Z-Phi", kImpedanceCode, kPhaseCode,
     [](cplx y, double) { return std::pair(std::abs(1.0 / y), degreesOf(1.0 / y)); }, true},
    {"Y-Phi", kAdmittanceCode, kPhaseCode,
     [](cplx y, double) { return std::pair(std::abs(y), degreesOf(y)); }, true},
    // the loss parameter shown first
    {"D-Cp", kDissipationCode, kCpCode,
     [](cplx y, double w) { return std::pair(y.real() / std::fabs(y.imag()), y.imag() / w); }},
    {"Rs-Ls", kRsCode, kLsCode,
     [](cplx y, double w) {
         const cplx z = 1.0 / y;
         return std::pair(z.real(), z.imag() / w);
     }},
};

const Material kMaterials[] = {
    {"polymer at 25 Hz", 3.2, 0.011, 25, 7.0E-13},
    {"polymer at 1 MHz", 2.9, 0.0087, 1000000, 7.0E-13},
    {"ferroelectric", 3150, 160, 1000, 2.0E-12},
    {"conducting, loss above storage", 12, 480, 100, 5.0E-11},
    {"equal parts", 40, 40, 5000, 1.0E-12},
    {"inductive reading", -35, 8, 100000, 5.0E-12},
    {"low loss", 2.1, 2.1E-6, 10000, 3.0E-12},
};

double relativeError(double got, double expected) {
    return std::fabs(got - expected) / std::fabs(expected);
}

TEST(MaterialValues, EveryPairRenderedFromAKnownMaterialConvertsBack) {
    for (const Material &m : kMaterials) {
        const double omega = 2.0 * kPi * m.frequencyHz;
        const cplx eps(m.epsReal, -m.epsImag);
        const cplx y = cplx(0.0, omega * m.c0) * eps;
        const cplx modulus = 1.0 / eps;
        for (const Rendering &r : kRenderings) {
            const auto [main, sec] = r.values(y, omega);
            TMaterialValues v;
            const TPairProblem problem =
                materialValues({r.mainCode, main, r.secCode, sec}, m.frequencyHz, cellOf(m.c0), &v);
            const std::string where = std::string(m.name) + ", " + r.name;
            ASSERT_EQ(problem, TPairProblem::None) << where;
            if (r.phase && m.epsImag / m.epsReal < 1E-3) {
                // An angle this close to 90 degrees holds the small loss
                // only to the angle's last bit; the complex value is exact.
                EXPECT_LT(std::abs(cplx(v.EpsReal, -v.EpsImag) - eps) / std::abs(eps), 1E-12)
                    << where;
                continue;
            }
            EXPECT_LT(relativeError(v.EpsReal, m.epsReal), 1E-12) << where;
            EXPECT_LT(relativeError(v.EpsImag, m.epsImag), 1E-12) << where;
            EXPECT_LT(relativeError(v.TanDelta, m.epsImag / m.epsReal), 1E-12) << where;
            EXPECT_LT(relativeError(v.SigmaSPerM, omega * kEps0 * m.epsImag), 1E-12) << where;
            EXPECT_LT(relativeError(v.ModulusReal, modulus.real()), 1E-12) << where;
            EXPECT_LT(relativeError(v.ModulusImag, modulus.imag()), 1E-12) << where;
        }
    }
}

// A frame as the meter sends it (bytes 1..20 after the start byte).
std::array<uint8_t, 60> frameOf(uint16_t freqMantissa, uint8_t freqExponent, uint8_t mainCode,
                                int32_t mainMantissa, uint8_t mainExponent, uint8_t secCode,
                                int32_t secMantissa, uint8_t secExponent) {
    std::array<uint8_t, 60> raw{};
    raw[0] = 0xAA;
    raw[4] = freqMantissa & 0xFF;
    raw[5] = freqMantissa >> 8;
    raw[6] = freqExponent;
    raw[kMainCodeByte] = mainCode;
    raw[kSecondaryCodeByte] = secCode;
    for (int i = 0; i < 3; ++i) {
        raw[12 + i] = uint8_t(secMantissa >> (8 * i));
        raw[16 + i] = uint8_t(mainMantissa >> (8 * i));
    }
    raw[15] = secExponent;
    raw[19] = mainExponent;
    return raw;
}

TEST(MaterialValues, TheDecodedFrameGivesTheFrequencyAndThePair) {
    // Cp 100,00 pF with D 0,020 in a 20 pF cell: eps' = 5, eps'' = 0.1,
    // at 25 Hz and at 1 MHz (mantissa 1, exponent code 6).
    const struct Case {
        uint16_t freq;
        uint8_t freqExponent;
        double hz;
    } cases[] = {{25, 0, 25}, {1, 6, 1E6}};
    for (const Case &c : cases) {
        const TIMPacket p = DecodeMeterPacket(
            frameOf(c.freq, c.freqExponent, kCpCode, 10000, 242, kDissipationCode, 20, 253),
            QLatin1Char('.'));
        ASSERT_EQ(p.FreqHz, c.hz);
        double mainValue = 0, secValue = 0;
        ASSERT_TRUE(numfmt::parseFloat(p.MainBase, QLatin1Char('.'), &mainValue))
            << p.MainBase.toStdString();
        ASSERT_TRUE(numfmt::parseFloat(p.SecBase, QLatin1Char('.'), &secValue));
        TMaterialValues v;
        ASSERT_EQ(materialValues({kCpCode, mainValue, kDissipationCode, secValue}, p.FreqHz,
                                 cellOf(20E-12), &v),
                  TPairProblem::None);
        EXPECT_NEAR(v.EpsReal, 5.0, 5E-15);
        EXPECT_NEAR(v.EpsImag, 0.1, 1E-16);
        EXPECT_NEAR(v.TanDelta, 0.02, 1E-17);
        EXPECT_NEAR(v.SigmaSPerM / (2 * kPi * c.hz * kEps0 * 0.1), 1.0, 1E-14) << c.hz;
    }
}

TEST(MaterialValues, LosslessAndPurelyReactiveReadingsGiveExactZeros) {
    const struct Case {
        const char *name;
        uint8_t mainCode;
        double main;
        uint8_t secCode;
        double sec;
        double epsRealSign; // +1 capacitive, -1 inductive
    } cases[] = {
        {"Cp with D = 0", kCpCode, 10E-12, kDissipationCode, 0.0, 1},
        {"Cs with D = 0", kCsCode, 10E-12, kDissipationCode, 0.0, 1},
        {"Ls with Rs = 0", kLsCode, 1E-3, kRsCode, 0.0, -1},
        {"Z with Phi = -90", kImpedanceCode, 1.5E6, kPhaseCode, -90.0, 1},
        {"Z with Phi = +90", kImpedanceCode, 1.5E6, kPhaseCode, 90.0, -1},
        {"Y with Phi = +90", kAdmittanceCode, 6.0E-7, kPhaseCode, 90.0, 1},
        {"Y with Phi = -450", kAdmittanceCode, 6.0E-7, kPhaseCode, -450.0, -1},
    };
    for (const Case &c : cases) {
        TMaterialValues v;
        ASSERT_EQ(materialValues({c.mainCode, c.main, c.secCode, c.sec}, 1000, cellOf(2E-12), &v),
                  TPairProblem::None)
            << c.name;
        EXPECT_EQ(v.EpsImag, 0.0) << c.name;
        EXPECT_EQ(v.TanDelta, 0.0) << c.name;
        EXPECT_EQ(v.SigmaSPerM, 0.0) << c.name;
        EXPECT_EQ(v.ModulusImag, 0.0) << c.name;
        EXPECT_GT(v.EpsReal * c.epsRealSign, 0.0) << c.name;
        EXPECT_NEAR(v.ModulusReal * v.EpsReal, 1.0, 1E-15) << c.name;
    }
}

TEST(MaterialValues, ZeroAndNegativeValuesAreTakenAsTheyAreOrRefused) {
    TMaterialValues v;
    const TSampleCell cell = cellOf(2E-12);
    // negative Cp: an inductive reading, shown as it is
    ASSERT_EQ(materialValues({kCpCode, -10E-12, kDissipationCode, 0.01}, 1000, cell, &v),
              TPairProblem::None);
    EXPECT_DOUBLE_EQ(v.EpsReal, -5.0);
    EXPECT_DOUBLE_EQ(v.EpsImag, 0.05);
    // negative Rp: a gain, a negative loss
    ASSERT_EQ(materialValues({kCpCode, 10E-12, kRpCode, -1E9}, 1000, cell, &v), TPairProblem::None);
    EXPECT_LT(v.EpsImag, 0.0);
    EXPECT_LT(v.SigmaSPerM, 0.0);
    // Cp = 0 with a finite loss: an empty admittance, no ratio and no modulus
    ASSERT_EQ(materialValues({kCpCode, 0.0, kDissipationCode, 0.01}, 1000, cell, &v),
              TPairProblem::None);
    EXPECT_EQ(v.EpsReal, 0.0);
    EXPECT_EQ(v.EpsImag, 0.0);
    EXPECT_TRUE(std::isnan(v.TanDelta));
    EXPECT_TRUE(std::isnan(v.ModulusReal));
    EXPECT_TRUE(std::isnan(v.ModulusImag));
}

TEST(MaterialValues, PairsThatDoNotFixTheAdmittanceSayWhy) {
    const struct Case {
        const char *name;
        uint8_t mainCode;
        double main;
        uint8_t secCode;
        double sec;
        double hz;
        TPairProblem problem;
    } cases[] = {
        {"unknown frequency", kCpCode, 1E-11, kDissipationCode, 0.01, 0, TPairProblem::NoFrequency},
        {"current", kCurrentCode, 1E-6, kDissipationCode, 0.01, 1000, TPairProblem::CurrentReading},
        {"current as secondary", kCpCode, 1E-11, kCurrentCode, 1E-6, 1000,
         TPairProblem::CurrentReading},
        {"same parameter", kCpCode, 1E-11, kCpCode, 1E-11, 1000, TPairProblem::SameParameter},
        {"same ratio", kDissipationCode, 0.1, kDissipationCode, 0.1, 1000,
         TPairProblem::SameParameter},
        {"series and parallel mixed", kCpCode, 1E-11, kRsCode, 100, 1000,
         TPairProblem::UnsupportedPair},
        {"Ls with Rp has two answers", kLsCode, 1E-3, kRpCode, 100, 1000,
         TPairProblem::UnsupportedPair},
        {"D with Q", kDissipationCode, 0.1, kQualityCode, 10, 1000, TPairProblem::UnsupportedPair},
        {"main T is no phase", kPhaseCode, 45, kImpedanceCode, 100, 1000,
         TPairProblem::UnsupportedPair},
        {"code beyond the table", 15, 1, kDissipationCode, 0.1, 1000,
         TPairProblem::UnsupportedPair},
        {"NaN main", kCpCode, kNaN, kDissipationCode, 0.01, 1000, TPairProblem::MissingValue},
        {"NaN secondary", kImpedanceCode, 100, kPhaseCode, kNaN, 1000, TPairProblem::MissingValue},
        {"infinite value", kGpCode, kInf, kBpCode, 1E-9, 1000, TPairProblem::MissingValue},
        {"Rp = 0", kCpCode, 1E-11, kRpCode, 0.0, 1000, TPairProblem::NoFiniteAdmittance},
        {"Z = 0", kImpedanceCode, 0.0, kPhaseCode, -89, 1000, TPairProblem::NoFiniteAdmittance},
        {"Q = 0", kCpCode, 1E-11, kQualityCode, 0.0, 1000, TPairProblem::NoFiniteAdmittance},
        {"Cs = 0", kCsCode, 0.0, kDissipationCode, 0.01, 1000, TPairProblem::NoFiniteAdmittance},
        {"Lp = 0", kLpCode, 0.0, kQualityCode, 10, 1000, TPairProblem::NoFiniteAdmittance},
        {"Rs = 0 and Xs = 0", kRsCode, 0.0, kXsCode, 0.0, 1000, TPairProblem::NoFiniteAdmittance},
    };
    for (const Case &c : cases) {
        TMaterialValues v{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(materialValues({c.mainCode, c.main, c.secCode, c.sec}, c.hz, cellOf(2E-12), &v),
                  c.problem)
            << c.name;
        EXPECT_EQ(v.EpsReal, 1) << "no values for " << c.name;
    }
}

} // namespace
