#include "ui/progress_text.h"

#include "base/number_format.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace progresstext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("ProgressText", text);
}

const QString kDash = QStringLiteral("—");

QString integer(qint64 value, QChar separator) {
    return numfmt::general(double(value), separator);
}

QString setPoint(double value, QChar separator) {
    return numfmt::fourDigits(value, separator) + QStringLiteral(" °C");
}

} // namespace

QString cells(int filled, int total, QChar decimalSeparator) {
    if (total > 0 && filled >= total)
        return tr("Таблица заполнена: %1 из %2")
            .arg(integer(filled, decimalSeparator), integer(total, decimalSeparator));
    return tr("Ячейки: %1 из %2")
        .arg(integer(filled, decimalSeparator), integer(total, decimalSeparator));
}

QString duration(qint64 seconds, bool withSeconds, QChar decimalSeparator) {
    seconds = std::max<qint64>(seconds, 0);
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 rest = seconds % 60;
    if (hours > 0)
        return tr("%1 ч %2 мин")
            .arg(integer(hours, decimalSeparator), integer(minutes, decimalSeparator));
    if (!withSeconds)
        return minutes > 0 ? tr("%1 мин").arg(integer(minutes, decimalSeparator))
                           : tr("меньше минуты");
    if (minutes > 0)
        return tr("%1 мин %2 с")
            .arg(integer(minutes, decimalSeparator), integer(rest, decimalSeparator));
    return tr("%1 с").arg(integer(rest, decimalSeparator));
}

QString elapsed(std::optional<qint64> seconds, QChar decimalSeparator) {
    return tr("Время: %1").arg(seconds ? duration(*seconds, true, decimalSeparator) : kDash);
}

QString drift(std::optional<TTemperatureTrend::Drift> drift, QChar decimalSeparator) {
    if (!drift)
        return tr("Дрейф: %1").arg(kDash);
    if (drift->stable)
        return tr("Дрейф: стабильно");
    // Two decimals; a drift that rounds to zero is written without a sign.
    const double shown = std::round(drift->degreesPerMinute * 100) / 100;
    const QString sign = shown > 0 ? QStringLiteral("+") : QString();
    return tr("Дрейф: %1 °C/мин")
        .arg(sign + numfmt::fixed(shown == 0 ? 0.0 : shown, 0, 2, decimalSeparator));
}

QString arrival(const TArrival &arrival, const QDateTime &now, QChar decimalSeparator) {
    switch (arrival.state) {
    case TArrival::Reached:
        return tr("Точка %1: сейчас").arg(setPoint(arrival.setPoint, decimalSeparator));
    case TArrival::Arriving: {
        // Seconds in the last minute; above it whole minutes, rounded up, as
        // the estimate is no finer than that. "0 с" would say it is there.
        const qint64 wholeSeconds = std::max<qint64>(1, std::llround(arrival.seconds));
        const bool lastMinute = wholeSeconds < 60;
        const qint64 seconds =
            lastMinute ? wholeSeconds : qint64(std::ceil(arrival.seconds / 60.0)) * 60;
        const QDateTime at = now.addSecs(seconds);
        const QString clock = at.date() == now.date() ? at.toString(QStringLiteral("HH:mm"))
                                                      : at.toString(QStringLiteral("dd.MM HH:mm"));
        return tr("До %1: %2, около %3")
            .arg(setPoint(arrival.setPoint, decimalSeparator),
                 duration(seconds, lastMinute, decimalSeparator), clock);
    }
    case TArrival::Unknown:
    case TArrival::Away:
        break;
    }
    return tr("Следующая точка: %1").arg(kDash);
}

} // namespace progresstext
