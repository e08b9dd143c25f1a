#pragma once

#include <complex>
#include <cstdint>

// The two values the meter displayed, each with its parameter code (as bytes
// 10 and 11 of a frame carry them) and in its base unit (F, H, Om, S,
// degrees, or a plain number for D and Q); NaN for a value that could not be read.
struct TMeterPair {
    uint8_t MainCode = 0;
    double MainValue = 0.0;
    uint8_t SecCode = 0;
    double SecValue = 0.0;
};

// Why a displayed pair gives no admittance.
enum class TPairProblem {
    None,
    NoFrequency,       // the frame's frequency is unknown (0)
    CurrentReading,    // I: a current says nothing about the sample
    SameParameter,     // both values are the same quantity
    UnsupportedPair,   // the two do not fix it, or mix the series and the parallel model
    MissingValue,      // a value is NaN or infinite
    NoFiniteAdmittance // the values lead to an infinite admittance (Rp = 0, Z = 0, Cp with Q = 0)
};

// The complex admittance Y = G + jB (in S) of the sample behind a displayed
// pair at `frequencyHz`, in either order of the two:
// - the parallel model's parts of Y: Bp = wCp = -1/(wLp), Gp = 1/Rp; Cp, Lp
//   or Bp with D, Q, Rp or Gp;
// - the series model's parts of Z = 1/Y: Xs = wLs = -1/(wCs); Cs, Ls or Xs
//   with D, Q or Rs;
// - D = Re/|Im| and Q = |Im|/Re, which are the same for Y and Z; the reactive
//   partner gives the sign of Im, so a lossy sample has a positive D and Q
//   whether it reads capacitive or inductive;
// - Rp with Q: B = Q/Rp, a positive Q taken as capacitive;
// - Rs with Xs, Gp with Bp; Z or Y (magnitude) with the phase Phi in degrees
//   of that same quantity.
// Negative values are taken as they are (a negative Cp is inductive).
TPairProblem admittanceOf(const TMeterPair &pair, double frequencyHz, std::complex<double> *y);
