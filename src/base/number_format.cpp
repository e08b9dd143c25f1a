#include "base/number_format.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace numfmt {
namespace {

// Writes |value| rounded to `digits` significant digits; scientific notation
// is used when the decimal exponent of the rounded value (x = d.ddd * 10^exp)
// is below -4 or at least `fixedLimit`.
QString significant(double value, int digits, int fixedLimit, int minExponentDigits, QChar sep) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // Qt's conversion ignores the C locale: "d.ddddde[+-]xx".
    const QString sci = QString::number(std::fabs(value), 'e', digits - 1);
    const int e = sci.indexOf(QLatin1Char('e'));
    const int exponent = sci.mid(e + 1).toInt();
    QString mantissa = sci.left(e);
    mantissa.remove(QLatin1Char('.'));
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);

    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= -4 && exponent < fixedLimit) {
        const int intDigits = exponent + 1; // digits before the separator
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

} // namespace

QChar systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QString general(double value, QChar decimalSeparator) {
    return significant(value, 15, 15, 1, decimalSeparator);
}

QString fourDigits(double value, QChar decimalSeparator) {
    return significant(value, 4, 4, 3, decimalSeparator);
}

QString fixed(double value, int width, int precision, QChar decimalSeparator) {
    QString out = QString::number(value, 'f', precision).rightJustified(width, QLatin1Char(' '));
    out.replace(QLatin1Char('.'), decimalSeparator);
    return out;
}

bool parseFloat(const QString &text, QChar decimalSeparator, double *value) {
    const QString s = text.trimmed();
    QByteArray plain; // the same number written for strtod in the C locale
    int i = 0;
    const int n = s.size();
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        plain.append(s[i++].toLatin1());
    int digits = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 0x80) {
            plain.append(c.toLatin1());
            ++digits;
        } else if (c == decimalSeparator && !separatorSeen) {
            plain.append('.');
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        plain.append('e');
        ++i;
        if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            plain.append(s[i++].toLatin1());
        int expDigits = 0;
        for (; i < n && s[i].isDigit() && s[i].unicode() < 0x80; ++i, ++expDigits)
            plain.append(s[i].toLatin1());
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(plain), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

} // namespace numfmt
