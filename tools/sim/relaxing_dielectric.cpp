#include "relaxing_dielectric.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBoltzmannEvPerK = 8.617333262E-5;
constexpr double kZeroCelsiusK = 273.15;
constexpr double kVacuumPermittivity = 8.8541878128E-12;

} // namespace

double RelaxingDielectric::tauAt(double temperatureC) const {
    return tau0Seconds *
           std::exp(activationEv / (kBoltzmannEvPerK * (temperatureC + kZeroCelsiusK)));
}

double RelaxingDielectric::peakTemperatureC(double frequencyHz) const {
    return activationEv /
               (kBoltzmannEvPerK * std::log(1.0 / (2 * kPi * frequencyHz * tau0Seconds))) -
           kZeroCelsiusK;
}

CapacitorReading RelaxingDielectric::at(double temperatureC, int frequencyHz) const {
    const double omega = 2 * kPi * frequencyHz;
    const double wt = omega * tauAt(temperatureC);
    // Written so that a w tau of 0 or beyond a double still gives numbers.
    const double epsReal = epsInfinity + deltaEps / (1 + wt * wt);
    const double epsImag =
        deltaEps / (1 / wt + wt) + sigmaDcSPerM / (kVacuumPermittivity * omega);
    return {emptyCellPf * 1E-12 * epsReal, epsImag / epsReal};
}
