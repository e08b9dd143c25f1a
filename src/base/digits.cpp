#include "base/digits.h"

int32_t DigitsToInt(const QString &text) {
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    bool ok = false;
    const int value = digits.toInt(&ok, 10);
    return ok ? value : -1;
}
