#include "material/dielectric.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TMaterialValues materialValues(std::complex<double> admittance, double frequencyHz,
                               const TSampleCell &cell) {
    const double g = admittance.real();
    const double b = admittance.imag();
    const double omegaC0 = 2.0 * kPi * frequencyHz * cell.EmptyCellF;
    TMaterialValues v;
    v.EpsReal = b / omegaC0;
    v.EpsImag = g / omegaC0;
    v.TanDelta = b != 0.0 ? g / b : kNaN;
    v.SigmaSPerM = g * cell.ThicknessPerArea;
    // 1 / (e' - j e'') = (e' + j e'') / |e|^2
    const double squared = v.EpsReal * v.EpsReal + v.EpsImag * v.EpsImag;
    v.ModulusReal = squared != 0.0 ? v.EpsReal / squared : kNaN;
    v.ModulusImag = squared != 0.0 ? v.EpsImag / squared : kNaN;
    return v;
}

TPairProblem materialValues(const TMeterPair &pair, double frequencyHz, const TSampleCell &cell,
                            TMaterialValues *values) {
    std::complex<double> y;
    const TPairProblem problem = admittanceOf(pair, frequencyHz, &y);
    if (problem == TPairProblem::None)
        *values = materialValues(y, frequencyHz, cell);
    return problem;
}
