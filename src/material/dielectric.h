#pragma once

#include "material/admittance.h"
#include "material/sample.h"

#include <complex>

// What a reading says about the material between the electrodes, from the
// admittance Y = G + jB at the angular frequency w and the empty cell:
//   eps* = eps' - j eps'' = Y / (j w C0), so eps' = B / (w C0), eps'' = G / (w C0);
//   tan delta = eps'' / eps' = G / B;  sigma' = G d / A in S/m;
//   M* = M' + j M'' = 1 / eps*.
// A value the reading does not fix (tan delta of eps' = 0, the modulus of
// eps* = 0) is NaN.
struct TMaterialValues {
    double EpsReal = 0.0;
    double EpsImag = 0.0;
    double TanDelta = 0.0;
    double SigmaSPerM = 0.0;
    double ModulusReal = 0.0;
    double ModulusImag = 0.0;
};

TMaterialValues materialValues(std::complex<double> admittance, double frequencyHz,
                               const TSampleCell &cell);

// The values of a displayed pair at the frame's frequency; `values` is left
// alone unless the answer is TPairProblem::None.
TPairProblem materialValues(const TMeterPair &pair, double frequencyHz, const TSampleCell &cell,
                            TMaterialValues *values);
