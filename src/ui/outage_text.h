#pragma once

#include "run/link_outage.h"

#include <QChar>
#include <QString>
#include <QVector>

// The instruments' silences and outages in words, for the status bar, the
// desktop notices and the list of past runs.
namespace outagetext {

// "Измеритель", "Термометр".
QString instrumentName(TInstrument instrument);
// "Измеритель: нет данных 15 с", "Термометр: нет данных 2 мин 5 с".
QString silence(TInstrument instrument, qint64 seconds, QChar decimalSeparator);
// "Измеритель: 11.12.2026 03:12:05 – 03:13:15 (1 мин 10 с)"; the end's date
// is written when it differs, "не закончился" when the program did not see it.
QString outage(const TLinkOutage &outage, QChar decimalSeparator);
// "Перерывы связи: нет." or a line "Перерывы связи:" followed by one line each.
QString outageList(const QVector<TLinkOutage> &outages, QChar decimalSeparator);

} // namespace outagetext
