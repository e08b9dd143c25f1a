#include "run/numeric_key_filter.h"

namespace {

const QChar kBackspace(8);

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QChar filterNumericKey(QChar typed, bool isCountEdit, QChar decimalSeparator) {
    QChar c = typed;
    if (c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char(','))
        c = decimalSeparator;

    if (c == kBackspace || isAsciiDigit(c))
        return c;
    if (isCountEdit)
        return QChar(0);
    // The separator passes whatever it is, so a locale with an unusual one
    // can still type fractions.
    if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-') ||
        c == decimalSeparator)
        return c;
    return QChar(0);
}
