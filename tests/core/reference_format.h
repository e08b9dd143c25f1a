#pragma once

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdlib>

// The number texts as the program first wrote them, on Qt's own conversions:
// slow, but plainly right, so the fast formatting is checked against them.
namespace reference {

inline QString significant(double value, int digits, int fixedLimit, int minExponentDigits,
                           QChar sep) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");

    const QString sci = QString::number(std::fabs(value), 'e', digits - 1);
    const int e = sci.indexOf(QLatin1Char('e'));
    const int exponent = sci.mid(e + 1).toInt();
    QString mantissa = sci.left(e);
    mantissa.remove(QLatin1Char('.'));
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);

    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= -4 && exponent < fixedLimit) {
        const int intDigits = exponent + 1;
        if (intDigits <= 0) {
            out += QLatin1Char('0');
            out += sep;
            out += QString(-intDigits, QLatin1Char('0'));
            out += mantissa;
        } else if (intDigits >= mantissa.size()) {
            out += mantissa;
            out += QString(intDigits - mantissa.size(), QLatin1Char('0'));
        } else {
            out += mantissa.left(intDigits);
            out += sep;
            out += mantissa.mid(intDigits);
        }
        return out;
    }
    out += mantissa.at(0);
    if (mantissa.size() > 1) {
        out += sep;
        out += mantissa.mid(1);
    }
    out += QLatin1Char('E');
    if (exponent < 0)
        out += QLatin1Char('-');
    out += QString::number(std::abs(exponent)).rightJustified(minExponentDigits, QLatin1Char('0'));
    return out;
}

inline QString general(double value, QChar sep) {
    return significant(value, 15, 15, 1, sep);
}

inline QString fourDigits(double value, QChar sep) {
    return significant(value, 4, 4, 3, sep);
}

inline QString fixed(double value, int width, int precision, QChar sep) {
    QString out = QString::number(value, 'f', precision).rightJustified(width, QLatin1Char(' '));
    out.replace(QLatin1Char('.'), sep);
    return out;
}

// A meter value: the mantissa shown with `decimals` digits after the
// separator, that text read back, moved by the prefix's power of ten and
// written in the general format. Empty when the text does not read back.
struct MeterValue {
    QString shown;
    QString base;
};

inline MeterValue meterValue(int mantissa, int width, int decimals, int power, QChar sep) {
    MeterValue out;
    out.shown = fixed(mantissa / std::pow(10.0, decimals), width, decimals, sep);
    bool ok = false;
    const double readBack =
        QLocale::c().toDouble(QString(out.shown).replace(sep, QLatin1Char('.')).trimmed(), &ok);
    if (!ok)
        return out;
    const double base =
        power >= 0 ? readBack * std::pow(10.0, power) : readBack / std::pow(10.0, -power);
    out.base = general(base, sep);
    return out;
}

} // namespace reference
