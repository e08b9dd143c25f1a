#include "plot/unit_scale.h"

#include "meter/meter_tables.h"
#include "plot/power_of_ten.h"

#include <algorithm>
#include <cmath>

namespace plotunits {
namespace {

constexpr int kLowestExponent = -15;
constexpr int kHighestExponent = 12;
constexpr int kHighestParameterCode = 14;

QString prefixOf(int exponent) {
    switch (exponent) {
    case -15:
        return QStringLiteral("f");
    case -12:
        return QStringLiteral("p");
    case -9:
        return QStringLiteral("n");
    case -6:
        return QStringLiteral("µ");
    case -3:
        return QStringLiteral("m");
    case 3:
        return QStringLiteral("k");
    case 6:
        return QStringLiteral("M");
    case 9:
        return QStringLiteral("G");
    case 12:
        return QStringLiteral("T");
    default:
        return QString();
    }
}

} // namespace

double TUnitScale::factor() const {
    return decimal(1, Exponent);
}

TUnitScale scaleForRange(double lo, double hi) {
    double magnitude = 0.0;
    for (double v : {lo, hi})
        if (std::isfinite(v))
            magnitude = std::max(magnitude, std::fabs(v));
    if (magnitude == 0.0)
        return {};

    int exponent = int(std::floor(std::log10(magnitude) / 3.0)) * 3;
    // log10 of an exact power of ten may land just below it.
    while (exponent < kHighestExponent && magnitude / decimal(1, exponent) >= 1000.0)
        exponent += 3;
    while (exponent > kLowestExponent && magnitude / decimal(1, exponent) < 1.0)
        exponent -= 3;
    exponent = std::clamp(exponent, kLowestExponent, kHighestExponent);
    return {exponent, prefixOf(exponent)};
}

QString meterBaseUnit(const QString &unitText) {
    QString best;
    for (int code = 0; code <= kHighestParameterCode; ++code) {
        const QString unit = metertables::unit(uint8_t(code));
        if (!unit.isEmpty() && unit.size() > best.size() && unitText.endsWith(unit))
            best = unit;
    }
    return best;
}

QString chartUnit(const QString &meterUnit) {
    if (meterUnit == QLatin1String("Om"))
        return QStringLiteral("Ω");
    return meterUnit.trimmed();
}

QString asciiUnit(const QString &meterUnit) {
    if (meterUnit == QLatin1String("Om"))
        return QStringLiteral("Ohm");
    if (meterUnit == QStringLiteral("°"))
        return QStringLiteral("deg");
    return meterUnit.trimmed();
}

QString axisTitle(const QString &name, const TUnitScale &scale, const QString &meterUnit) {
    const QString unit = scale.Prefix + chartUnit(meterUnit);
    return unit.isEmpty() ? name : name + QStringLiteral(", ") + unit;
}

} // namespace plotunits
