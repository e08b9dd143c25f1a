#pragma once

#include <QString>

// SI prefixes for a chart axis and the names of the meter's units.
namespace plotunits {

// A decimal prefix: values are shown divided by 10^Exponent.
struct TUnitScale {
    int Exponent = 0; // a multiple of 3, from -15 (f) to 12 (T)
    QString Prefix;   // "f", "p", "n", "µ", "m", "", "k", "M", "G", "T"

    double factor() const;
    bool operator==(const TUnitScale &other) const { return Exponent == other.Exponent; }
    bool operator!=(const TUnitScale &other) const { return Exponent != other.Exponent; }
};

// The prefix that writes the larger magnitude of lo and hi with one to three
// digits before the point (sign does not matter). NaN and infinite bounds are
// left out; with nothing left, or only zeros, there is no prefix. Magnitudes
// beyond the meter's own prefixes keep the nearest one (f or T).
TUnitScale scaleForRange(double lo, double hi);

// The unit of a meter unit text (prefix and unit as the display writes them:
// "nF", "kOm", "mkA", "  "), without the prefix: "F", "Om", "A", " ". Empty
// when the text ends in no unit the meter knows.
QString meterBaseUnit(const QString &unitText);

// A meter unit as the chart writes it: "Om" becomes "Ω", the blank of a
// dimensionless quantity becomes empty.
QString chartUnit(const QString &meterUnit);

// A meter unit in plain ASCII, for files read by other programs: "Ohm" and
// "deg" instead of "Ω" and "°", empty for a dimensionless quantity.
QString asciiUnit(const QString &meterUnit);

// "Cp, nF", or just the name when the unit and the prefix are both empty.
QString axisTitle(const QString &name, const TUnitScale &scale, const QString &meterUnit);

} // namespace plotunits
