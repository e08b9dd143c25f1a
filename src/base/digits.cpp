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

std::optional<int> ReadBitRate(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value <= 0)
        return std::nullopt;
    return value;
}
