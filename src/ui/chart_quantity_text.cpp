#include "ui/chart_quantity_text.h"

#include "ui/sample_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace quantitytext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("ChartQuantity", text);
}

} // namespace

QString title(TChartQuantity quantity) {
    switch (quantity) {
    case TChartQuantity::Main:
        return tr("Основной параметр");
    case TChartQuantity::Secondary:
        return tr("Дополнительный параметр");
    case TChartQuantity::EpsReal:
        return tr("ε′ — диэлектрическая проницаемость");
    case TChartQuantity::EpsImag:
        return tr("ε″ — коэффициент потерь");
    case TChartQuantity::TanDelta:
        return tr("tan δ — тангенс угла потерь");
    case TChartQuantity::Sigma:
        return tr("σ′ — удельная проводимость, S/m");
    default:
        return tr("M″ — электрический модуль, мнимая часть");
    }
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
    const QString symbol = quantitySymbol(quantity);
    if (quantityNeedsSample(quantity) && !sampleKnown)
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
