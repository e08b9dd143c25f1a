#include "ui/outage_text.h"

#include "ui/progress_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace outagetext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("OutageText", text);
}

const QString kDateTime = QStringLiteral("dd.MM.yyyy HH:mm:ss");
const QString kTime = QStringLiteral("HH:mm:ss");

} // namespace

QString instrumentName(TInstrument instrument) {
    return instrument == TInstrument::Meter ? tr("Измеритель") : tr("Термометр");
}

QString silence(TInstrument instrument, qint64 seconds, QChar decimalSeparator) {
    return tr("%1: нет данных %2")
        .arg(instrumentName(instrument), progresstext::duration(seconds, true, decimalSeparator));
}

QString outage(const TLinkOutage &outage, QChar decimalSeparator) {
    const QString start = outage.Start.toString(kDateTime);
    if (!outage.End.isValid())
        return tr("%1: %2 – не закончился").arg(instrumentName(outage.Instrument), start);
    const QString end =
        outage.End.toString(outage.End.date() == outage.Start.date() ? kTime : kDateTime);
    return QStringLiteral("%1: %2 – %3 (%4)")
        .arg(instrumentName(outage.Instrument), start, end,
             progresstext::duration(outage.Start.secsTo(outage.End), true, decimalSeparator));
}

QString outageList(const QVector<TLinkOutage> &outages, QChar decimalSeparator) {
    if (outages.isEmpty())
        return tr("Перерывы связи: нет.");
    QStringList lines = {tr("Перерывы связи:")};
    for (const TLinkOutage &o : outages)
        lines << outage(o, decimalSeparator);
    return lines.join(QLatin1Char('\n'));
}

} // namespace outagetext
