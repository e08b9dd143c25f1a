#include "ui/chart_quantity_text.h"

#include "ui/sample_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace quantitytext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("ChartQuantity", text);
}

// One line per entry of the quantities' list, by its key.
const struct {
    const char *key;
    const char *title;
} kTitles[] = {
    {"main", QT_TRANSLATE_NOOP("ChartQuantity", "Основной параметр")},
    {"secondary", QT_TRANSLATE_NOOP("ChartQuantity", "Дополнительный параметр")},
    {"eps_real", QT_TRANSLATE_NOOP("ChartQuantity", "ε′ — диэлектрическая проницаемость")},
    {"eps_imag", QT_TRANSLATE_NOOP("ChartQuantity", "ε″ — коэффициент потерь")},
    {"tan_delta", QT_TRANSLATE_NOOP("ChartQuantity", "tan δ — тангенс угла потерь")},
    {"sigma", QT_TRANSLATE_NOOP("ChartQuantity", "σ′ — удельная проводимость, S/m")},
    {"modulus_imag", QT_TRANSLATE_NOOP("ChartQuantity", "M″ — электрический модуль, мнимая часть")},
};

} // namespace

QString title(TChartQuantity quantity) {
    const QString key = quantity.key();
    for (const auto &entry : kTitles)
        if (key == QLatin1String(entry.key))
            return tr(entry.title);
    return QString();
}

QString valueAxisTitle(const TChartSeriesSet &set) {
    const QString title = set.valueTitle();
    return title.isEmpty() ? quantitytext::title(set.quantity()) : title;
}

QString argumentAxisTitle(TChartArgument argument) {
    return argument == TChartArgument::Temperature ? tr("Температура, °C") : tr("Частота, Hz");
}

QString chartTitle(const QString &sample, const std::optional<QDateTime> &firstReading) {
    if (!firstReading)
        return sample;
    const QString date = firstReading->toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    if (sample.isEmpty())
        return tr("Измерения %1").arg(date);
    return tr("%1, измерения %2").arg(sample, date);
}

QString gapsNote(TChartQuantity quantity, bool sampleKnown, const QVector<TQuantityGap> &gaps) {
    const QString symbol = quantity.symbol();
    if (quantity.needsSample() && !sampleKnown)
        return tr("%1 не показано: нет образца (Файл > Образец...).").arg(symbol);
    QStringList reasons;
    for (const TQuantityGap &gap : gaps) {
        const QString reason = sampletext::pairProblem(gap.Problem, gap.MainName, gap.SecName);
        if (!reasons.contains(reason))
            reasons << reason;
    }
    if (reasons.isEmpty())
        return QString();
    return tr("%1 показано не для всех ячеек: %2.").arg(symbol, reasons.join(QStringLiteral("; ")));
}

} // namespace quantitytext
