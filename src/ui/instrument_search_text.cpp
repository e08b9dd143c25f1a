#include "ui/instrument_search_text.h"

#include "base/com_port_name.h"
#include "ui/port_access_text.h"

#include <QCoreApplication>
#include <QMap>
#include <QStringList>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("InstrumentSearch", text);
}

QString portNames(const QList<int> &numbers) {
    QStringList names;
    for (const int n : numbers)
        names << ComPortName(n);
    return names.join(QStringLiteral(", "));
}

// "Измеритель иммитанса найден на COM3." and, for a second port with the same data, where.
QString instrumentLine(const QString &found, const QString &notFound, const QList<int> &ports) {
    if (ports.isEmpty())
        return notFound;
    QString line = found.arg(ComPortName(ports.first()));
    if (ports.size() > 1)
        line += tr(" Такие же данные есть и на %1.").arg(portNames(ports.mid(1)));
    return line;
}

// Ports with the same remedy (the same group on Linux) share one paragraph.
QStringList deniedParagraphs(const QList<TInstrumentSearchResult::Denied> &denied) {
    QMap<QString, QList<int>> byRemedy;
    QStringList order;
    for (const TInstrumentSearchResult::Denied &port : denied) {
        const QString remedy = PortAccessRemedyText(port.reason);
        if (!byRemedy.contains(remedy))
            order << remedy;
        byRemedy[remedy] << port.number;
    }
    QStringList paragraphs;
    for (const QString &remedy : order) {
        const QList<int> &ports = byRemedy[remedy];
        const QString head =
            ports.size() == 1 ? tr("Нет доступа к порту %1.") : tr("Нет доступа к портам %1.");
        paragraphs << head.arg(portNames(ports)) + QLatin1Char(' ') + remedy;
    }
    return paragraphs;
}

} // namespace

QString InstrumentSearchReport(const TInstrumentSearchResult &r) {
    QStringList paragraphs;
    const bool noPorts = r.meterPorts.isEmpty() && r.thermoPorts.isEmpty() &&
                         r.silentPorts.isEmpty() && r.heldPorts.isEmpty() &&
                         r.deniedPorts.isEmpty();
    if (noPorts) {
        paragraphs << tr("Последовательные порты не найдены: подключите приборы и "
                         "повторите поиск.");
    } else {
        paragraphs << instrumentLine(tr("Измеритель иммитанса найден на %1."),
                                     tr("Измеритель иммитанса не найден."), r.meterPorts) +
                          QLatin1Char('\n') +
                          instrumentLine(tr("Термометр найден на %1."), tr("Термометр не найден."),
                                         r.thermoPorts);
        if (!r.silentPorts.isEmpty())
            paragraphs << tr("Без данных приборов: %1.").arg(portNames(r.silentPorts));
        if (!r.heldPorts.isEmpty())
            paragraphs
                << tr("Заняты другой программой и не проверены: %1.").arg(portNames(r.heldPorts));
        paragraphs << deniedParagraphs(r.deniedPorts);
    }
    paragraphs << (r.foundAny() ? tr("Найденные порты записаны в настройки.")
                                : tr("Настройки портов не изменены."));
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString InstrumentSearchButtonText(bool searching) {
    return searching ? tr("Отменить поиск") : tr("Найти приборы");
}

QString InstrumentSearchDuringRunText() {
    return tr("Поиск приборов возможен, когда измерения остановлены.");
}
