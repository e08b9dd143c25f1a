#include "material/admittance.h"

#include "meter/meter_tables.h"

#include <cmath>
#include <iterator>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

// What a displayed quantity is, once its position (main or secondary) is known.
enum class Quantity {
    Cp,
    Lp,
    Rp,
    Gp,
    Bp,
    Y,
    Q,
    Cs,
    Ls,
    Rs,
    Phi,
    Xs,
    Z,
    D,
    Current,
    Other // a main "T" or a code the meter is not known to send
};

Quantity quantityOf(uint8_t code, bool secondary) {
    // In the order of the meter's parameter codes.
    static const Quantity kByCode[] = {
        Quantity::Cp,  Quantity::Lp, Quantity::Rp, Quantity::Gp, Quantity::Bp,
        Quantity::Y,   Quantity::Q,  Quantity::Cs, Quantity::Ls, Quantity::Rs,
        Quantity::Phi, Quantity::Xs, Quantity::Z,  Quantity::D,  Quantity::Current,
    };
    static_assert(std::size(kByCode) == metertables::kCurrentCode + 1);
    if (code >= std::size(kByCode) || (code == metertables::kPhaseCode && !secondary))
        return Quantity::Other;
    return kByCode[code];
}

bool isParallelReactive(Quantity q) {
    return q == Quantity::Cp || q == Quantity::Lp || q == Quantity::Bp;
}
bool isSeriesReactive(Quantity q) {
    return q == Quantity::Cs || q == Quantity::Ls || q == Quantity::Xs;
}
bool isRatio(Quantity q) {
    return q == Quantity::D || q == Quantity::Q;
}
bool isParallelLoss(Quantity q) {
    return isRatio(q) || q == Quantity::Rp || q == Quantity::Gp;
}
bool isSeriesLoss(Quantity q) {
    return isRatio(q) || q == Quantity::Rs;
}

// How a pair fixes the admittance. `first` is the reactive quantity, the
// magnitude or Rp; `second` its partner.
enum class Formula { None, Parallel, Series, Polar, ResistanceQuality };

struct Plan {
    Formula formula = Formula::None;
    bool swapped = false; // the first quantity is the secondary one
};

Plan planOf(Quantity a, Quantity b) {
    const auto either = [a, b](auto first, auto second) {
        return first(a) && second(b) ? 1 : first(b) && second(a) ? 2 : 0;
    };
    const struct {
        Formula formula;
        bool (*first)(Quantity);
        bool (*second)(Quantity);
    } rules[] = {
        {Formula::Parallel, isParallelReactive, isParallelLoss},
        {Formula::Series, isSeriesReactive, isSeriesLoss},
        {Formula::Polar, [](Quantity q) { return q == Quantity::Y || q == Quantity::Z; },
         [](Quantity q) { return q == Quantity::Phi; }},
        {Formula::ResistanceQuality, [](Quantity q) { return q == Quantity::Rp; },
         [](Quantity q) { return q == Quantity::Q; }},
    };
    for (const auto &rule : rules) {
        const int match = either(rule.first, rule.second);
        if (match)
            return {rule.formula, match == 2};
    }
    return {};
}

// The imaginary part in the quantity's own model: B for the parallel, X for
// the series one.
double reactivePart(Quantity q, double value, double omega) {
    switch (q) {
    case Quantity::Cp:
    case Quantity::Ls:
        return omega * value;
    case Quantity::Lp:
    case Quantity::Cs:
        return -1.0 / (omega * value);
    default: // Bp, Xs
        return value;
    }
}

// The real part in the same model, from the loss quantity and the imaginary part.
double realPart(Quantity q, double value, double im) {
    switch (q) {
    case Quantity::D:
        return value * std::fabs(im);
    case Quantity::Q:
        return std::fabs(im) / value;
    case Quantity::Rp:
        return 1.0 / value;
    default: // Gp, Rs
        return value;
    }
}

// cos and sin of an angle in degrees, exact at multiples of 90 degrees and
// as exact near them as the angle itself, since the reduction to within 45
// degrees of an axis loses nothing.
std::complex<double> unitPhasor(double degrees) {
    double r = std::remainder(degrees, 360.0);          // [-180, 180]
    const int quadrant = int(std::nearbyint(r / 90.0)); // -2..2
    r -= 90.0 * quadrant;
    const double rad = r * (kPi / 180.0);
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    switch ((quadrant + 4) % 4) {
    case 0:
        return {c, s};
    case 1:
        return {-s, c};
    case 2:
        return {-c, -s};
    default:
        return {s, -c};
    }
}

} // namespace

TPairProblem admittanceOf(const TMeterPair &pair, double frequencyHz, std::complex<double> *y) {
    if (!(frequencyHz > 0.0) || !std::isfinite(frequencyHz))
        return TPairProblem::NoFrequency;
    Quantity first = quantityOf(pair.MainCode, false);
    Quantity second = quantityOf(pair.SecCode, true);
    if (first == Quantity::Current || second == Quantity::Current)
        return TPairProblem::CurrentReading;
    if (first == second && first != Quantity::Other)
        return TPairProblem::SameParameter;
    const Plan plan = planOf(first, second);
    if (plan.formula == Formula::None)
        return TPairProblem::UnsupportedPair;
    double firstValue = pair.MainValue;
    double secondValue = pair.SecValue;
    if (!std::isfinite(firstValue) || !std::isfinite(secondValue))
        return TPairProblem::MissingValue;
    if (plan.swapped) {
        std::swap(first, second);
        std::swap(firstValue, secondValue);
    }

    std::complex<double> result;
    switch (plan.formula) {
    case Formula::Parallel:
    case Formula::Series: {
        // An infinite part (Cs = 0, Lp = 0) is a short or an open the
        // reading cannot have come from.
        const double im = reactivePart(first, firstValue, 2.0 * kPi * frequencyHz);
        const double re = realPart(second, secondValue, im);
        if (!std::isfinite(im) || !std::isfinite(re))
            return TPairProblem::NoFiniteAdmittance;
        const std::complex<double> part(re, im);
        result = plan.formula == Formula::Parallel ? part : 1.0 / part;
        break;
    }
    case Formula::Polar: {
        const std::complex<double> polar = firstValue * unitPhasor(secondValue);
        result = first == Quantity::Y ? polar : 1.0 / polar;
        break;
    }
    default: { // Rp with Q
        const double g = 1.0 / firstValue;
        result = {g, secondValue * g};
        break;
    }
    }
    if (!std::isfinite(result.real()) || !std::isfinite(result.imag()))
        return TPairProblem::NoFiniteAdmittance;
    *y = result;
    return TPairProblem::None;
}
