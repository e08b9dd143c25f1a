#pragma once

#include "plot/temperature_trend.h"

#include <QChar>
#include <QDateTime>
#include <QString>

#include <optional>

// The texts of the run's progress in the main window's status bar.
namespace progresstext {

// "Ячейки: 12 из 405"; "Таблица заполнена: 405 из 405" once every cell is.
QString cells(int filled, int total, QChar decimalSeparator);
// "45 с", "12 мин 5 с", "3 ч 7 мин"; without seconds "12 мин", and "меньше
// минуты" below one.
QString duration(qint64 seconds, bool withSeconds, QChar decimalSeparator);
// "Время: 12 мин 5 с", "Время: —" before the run starts.
QString elapsed(std::optional<qint64> seconds, QChar decimalSeparator);
// "Дрейф: +0,35 °C/мин", "Дрейф: стабильно" when the last minute stood
// still, "Дрейф: —" while there is none.
QString drift(std::optional<TTemperatureTrend::Drift> drift, QChar decimalSeparator);
// "До 22 °C: 1 ч 5 мин, около 18:40", "До 22 °C: 45 с, около 17:31",
// "Точка 22 °C: сейчас",
// "Следующая точка: —". The clock time gets the date when it is not today.
QString arrival(const TArrival &arrival, const QDateTime &now, QChar decimalSeparator);

} // namespace progresstext
