#include "base/number_format.h"

#include <QLocale>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace numfmt {
namespace {

// Room for any text layout() builds: at most a sign, 15 digits, "0," and
// three zeros in front of them, or a separator and an exponent with its sign.
constexpr int kTextRoom = 32;

// A positive number as its significant digits, without trailing zeros, and
// the decimal exponent of the first one: value = d1.d2d3... * 10^exponent.
struct Digits {
    char digit[24];
    int count = 0;
    int exponent = 0;
};

void dropTrailingZeros(Digits &d) {
    while (d.count > 1 && d.digit[d.count - 1] == '0')
        --d.count;
}

// Reads the "d.ddde+xx" that std::to_chars writes in scientific notation.
Digits fromScientific(const char *text, const char *end) {
    Digits d;
    const char *p = text;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.')
            d.digit[d.count++] = *p;
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, d.exponent);
    dropTrailingZeros(d);
    return d;
}

Digits shortestDigits(double magnitude) {
    char text[32];
    const auto r =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    return fromScientific(text, r.ptr);
}

// Correctly rounded to `count` significant digits; an exact tie goes to the even
// digit, so callers must settle ties themselves.
Digits precisionDigits(double magnitude, int count) {
    char text[48];
    const auto r = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                                 count - 1);
    return fromScientific(text, r.ptr);
}

// Cuts `d` to `count` digits, a dropped part of one half or more rounding up.
void roundHalfUp(Digits &d, int count) {
    if (d.count <= count)
        return;
    const bool up = d.digit[count] >= '5';
    d.count = count;
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digit[i] == '9')
            d.digit[i--] = '0';
        if (i < 0) {
            d.digit[0] = '1';
            d.count = 1;
            ++d.exponent;
        } else {
            ++d.digit[i];
        }
    }
    dropTrailingZeros(d);
}

// Whether the finite positive `magnitude` is exactly the decimal digits * 10^power.
// Both sides are brought to odd * 2^n (digits * 10^power = digits * 5^power * 2^power),
// which is unique, so it comes down to comparing integers.
bool equalsDecimal(double magnitude, uint64_t digits, int power) {
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    auto odd = static_cast<uint64_t>(std::ldexp(fraction, DBL_MANT_DIG));
    binaryExponent -= DBL_MANT_DIG;
    while ((odd & 1) == 0) {
        odd >>= 1;
        ++binaryExponent;
    }
    int twos = 0;
    while ((digits & 1) == 0) {
        digits >>= 1;
        ++twos;
    }
    if (binaryExponent != twos + power)
        return false;
    // The side with the power of five must come out equal to the other side.
    uint64_t scaled = power >= 0 ? digits : odd;
    const uint64_t other = power >= 0 ? odd : digits;
    for (int i = 0; i < std::abs(power); ++i) {
        if (scaled > other / 5)
            return false;
        scaled *= 5;
    }
    return scaled == other;
}

// |value| rounded to `count` significant digits, an exact tie rounding away
// from zero. The shortest digits that read back as the value settle almost
// every case: 15 or fewer decimal digits are spaced wider than doubles are,
// so if they fit in `count` they are the rounded value itself, and if not,
// no rounding boundary lies between them and the value unless they sit on
// one. Only that case and subnormal numbers (fewer binary digits) need the
// correctly rounded conversion, which cannot meet a tie there.
Digits roundedDigits(double magnitude, int count) {
    if (magnitude >= DBL_MIN) {
        Digits d = shortestDigits(magnitude);
        if (d.count <= count)
            return d;
        const bool onBoundary = d.count == count + 1 && d.digit[count] == '5';
        if (!onBoundary) {
            roundHalfUp(d, count);
            return d;
        }
        uint64_t all = 0;
        for (int i = 0; i < d.count; ++i)
            all = all * 10 + uint64_t(d.digit[i] - '0');
        if (equalsDecimal(magnitude, all, d.exponent - count)) {
            roundHalfUp(d, count);
            return d;
        }
    }
    return precisionDigits(magnitude, count);
}

QString toQString(const char16_t *text, int length) {
    return QString(reinterpret_cast<const QChar *>(text), length);
}

// Writes the digits: fixed notation when the exponent is at least -4 and
// below `fixedLimit`, otherwise d.dddE-x with at least `minExponentDigits`
// exponent digits and no sign for a positive exponent.
QString layout(const Digits &d, bool negative, int fixedLimit, int minExponentDigits, QChar sep) {
    char16_t out[kTextRoom];
    int n = 0;
    if (negative)
        out[n++] = u'-';
    if (d.exponent >= -4 && d.exponent < fixedLimit) {
        const int intDigits = d.exponent + 1; // digits before the separator
        if (intDigits <= 0) {
            out[n++] = u'0';
            out[n++] = sep.unicode();
            for (int i = 0; i < -intDigits; ++i)
                out[n++] = u'0';
            for (int i = 0; i < d.count; ++i)
                out[n++] = char16_t(d.digit[i]);
        } else {
            for (int i = 0; i < intDigits; ++i)
                out[n++] = i < d.count ? char16_t(d.digit[i]) : u'0';
            if (d.count > intDigits) {
                out[n++] = sep.unicode();
                for (int i = intDigits; i < d.count; ++i)
                    out[n++] = char16_t(d.digit[i]);
            }
        }
        return toQString(out, n);
    }

    out[n++] = char16_t(d.digit[0]);
    if (d.count > 1) {
        out[n++] = sep.unicode();
        for (int i = 1; i < d.count; ++i)
            out[n++] = char16_t(d.digit[i]);
    }
    out[n++] = u'E';
    if (d.exponent < 0)
        out[n++] = u'-';
    char exponent[8];
    const auto r = std::to_chars(exponent, exponent + sizeof exponent, std::abs(d.exponent));
    for (int i = int(r.ptr - exponent); i < minExponentDigits; ++i)
        out[n++] = u'0';
    for (const char *p = exponent; p < r.ptr; ++p)
        out[n++] = char16_t(*p);
    return toQString(out, n);
}

QString significant(double value, int digits, int fixedLimit, int minExponentDigits, QChar sep) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");
    return layout(roundedDigits(std::fabs(value), digits), value < 0, fixedLimit, minExponentDigits,
                  sep);
}

// The decimal digits of `magnitude`, most significant first; returns their count.
int decimalDigits(uint64_t magnitude, char *out) {
    char reversed[20];
    int n = 0;
    do {
        reversed[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    return n;
}

uint64_t magnitudeOf(qint64 value) {
    return value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
}

// The largest magnitude a text may have and still read as a finite number:
// the four-digit rounding of the largest double, 1.798E308, which is also
// above the fifteen-digit one, 1.79769313486232E308.
constexpr char kLargestDigits[] = "1798";
constexpr int kLargestExponent = 308;

// Whether the decimal number written as `mantissa` ("ddd.ddd", no sign) and
// `exponent` lies above kLargestDigits * 10^kLargestExponent.
bool aboveLargest(const QByteArray &mantissa, long long exponent) {
    QByteArray digits;
    int intDigits = 0;
    bool inFraction = false;
    for (char c : mantissa) {
        if (c == '.') {
            inFraction = true;
        } else {
            digits.append(c);
            if (!inFraction)
                ++intDigits;
        }
    }
    int first = 0;
    while (first < digits.size() && digits[first] == '0')
        ++first;
    if (first == digits.size())
        return false;
    // Decimal exponent of the first significant digit.
    const long long leading = exponent + intDigits - first - 1;
    if (leading != kLargestExponent)
        return leading > kLargestExponent;
    QByteArray significant = digits.mid(first);
    while (significant.endsWith('0'))
        significant.chop(1);
    return std::strcmp(significant.constData(), kLargestDigits) > 0;
}

} // namespace

QChar systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QString general(double value, QChar decimalSeparator) {
    return significant(value, 15, 15, 1, decimalSeparator);
}

QString generalDecimal(qint64 mantissa, int exponent, QChar decimalSeparator) {
    if (mantissa == 0)
        return QStringLiteral("0");
    Digits d;
    d.count = decimalDigits(magnitudeOf(mantissa), d.digit);
    d.exponent = exponent + d.count - 1;
    roundHalfUp(d, 15);
    dropTrailingZeros(d);
    return layout(d, mantissa < 0, 15, 1, decimalSeparator);
}

QString fourDigits(double value, QChar decimalSeparator) {
    return significant(value, 4, 4, 3, decimalSeparator);
}

QString fixed(double value, int width, int precision, QChar decimalSeparator) {
    QString out = QString::number(value, 'f', precision).rightJustified(width, QLatin1Char(' '));
    out.replace(QLatin1Char('.'), decimalSeparator);
    return out;
}

QString fixedDecimal(qint64 mantissa, int decimals, int width, QChar decimalSeparator) {
    char digits[24];
    const int count = decimalDigits(magnitudeOf(mantissa), digits);
    // At least one digit before the separator: 5 with two decimals is 0,05.
    const int shown = std::max(count, decimals + 1);
    const int length = (mantissa < 0 ? 1 : 0) + shown + (decimals > 0 ? 1 : 0);
    QString out(std::max(width, length), Qt::Uninitialized);
    QChar *p = out.data();
    for (int i = length; i < width; ++i)
        *p++ = QLatin1Char(' ');
    if (mantissa < 0)
        *p++ = QLatin1Char('-');
    for (int i = 0; i < shown; ++i) {
        if (i == shown - decimals)
            *p++ = decimalSeparator;
        const int fromDigits = i - (shown - count);
        *p++ = QLatin1Char(fromDigits >= 0 ? digits[fromDigits] : '0');
    }
    return out;
}

bool parseFloat(const QString &text, QChar decimalSeparator, double *value) {
    const QString s = text.trimmed();
    QByteArray plain; // the same number written for strtod in the C locale
    plain.reserve(s.size() + 1);
    int i = 0;
    const int n = s.size();
    bool negative = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i++] == QLatin1Char('-');
        if (negative) // from_chars takes no plus
            plain.append('-');
    }
    const int mantissaStart = plain.size();
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
    const QByteArray mantissa = plain.mid(mantissaStart);
    long long exponent = 0;
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        plain.append('e');
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
            negativeExponent = s[i] == QLatin1Char('-');
            plain.append(s[i++].toLatin1());
        }
        int expDigits = 0;
        for (; i < n && s[i].isDigit() && s[i].unicode() < 0x80; ++i, ++expDigits) {
            plain.append(s[i].toLatin1());
            // Far beyond any double either way; the size only has to stay bounded.
            if (exponent < 100000)
                exponent = exponent * 10 + (s[i].unicode() - '0');
        }
        if (expDigits == 0)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return false;
    // from_chars reads what it can as QLocale would, many times faster; the
    // magnitudes it refuses take the slow road and its rules for them.
    double v = 0.0;
    const std::from_chars_result read =
        std::from_chars(plain.constData(), plain.constData() + plain.size(), v);
    bool ok = read.ec == std::errc() && read.ptr == plain.constData() + plain.size();
    if (!ok)
        v = QLocale::c().toDouble(QString::fromLatin1(plain), &ok);
    // The largest doubles print rounded up past the largest double; such a
    // text stands for the largest double, so what was printed reads back.
    if (!ok && std::isinf(v) && !aboveLargest(mantissa, exponent)) {
        v = negative ? -DBL_MAX : DBL_MAX;
        ok = true;
    }
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

} // namespace numfmt
