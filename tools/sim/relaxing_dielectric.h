#pragma once

#include "meter_model.h"

// A sample between two electrodes with one thermally activated (Debye)
// relaxation and a small dc conductivity, as the meter would see it:
//   tau(T) = tau0 * exp(Ea / (k_B * (T + 273.15)))
//   eps*(w, T) = eps_inf + delta_eps / (1 + j w tau) - j sigma_dc / (eps0 w)
//   Cp = C0 * eps',  D = eps'' / eps'
// At a fixed frequency f the loss eps'' peaks where w tau = 1, at
//   T_peak = Ea / (k_B * ln(1 / (2 pi f tau0))) - 273.15 degrees Celsius,
// with height delta_eps / 2 above the conduction term.
struct RelaxingDielectric {
    double epsInfinity = 3.0;
    double deltaEps = 10.0;
    double tau0Seconds = 1E-28;
    double activationEv = 1.5;
    double sigmaDcSPerM = 1E-10;
    double emptyCellPf = 10.0; // C0, the cell's capacitance with nothing between the electrodes

    // The relaxation time at a temperature in degrees Celsius.
    double tauAt(double temperatureC) const;
    // Where eps'' of the relaxation alone peaks at the frequency, in degrees Celsius.
    double peakTemperatureC(double frequencyHz) const;
    CapacitorReading at(double temperatureC, int frequencyHz) const;
};
