#include "ui/relaxation_texts.h"

#include "base/number_format.h"

#include <QCoreApplication>

#include <cmath>

namespace relaxationtext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Relaxation", text);
}

} // namespace

QString significant(double value, int digits, QChar separator) {
    if (!std::isfinite(value))
        return QStringLiteral("—");
    if (value == 0)
        return QStringLiteral("0");
    const double step = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - (digits - 1));
    return numfmt::general(std::round(value / step) * step, separator);
}

QStringList kindNotes() {
    return {QString(), tr("у края диапазона"), tr("меньше трёх точек"), tr("нет максимума")};
}

QString arrhenius(const TArrheniusFit &fit, QChar s) {
    using Problem = TArrheniusFit::Problem;
    switch (fit.problem) {
    case Problem::TooFewPeaks:
        return tr("Аррениус: нужно не меньше двух пиков внутри диапазона (есть %1).")
            .arg(fit.PeakCount);
    case Problem::SameTemperature:
        return tr("Аррениус: все пики при одной температуре.");
    case Problem::None:
        break;
    }
    QString text = tr("Аррениус: E = %1").arg(significant(fit.ActivationEv, 4, s));
    if (std::isfinite(fit.ActivationErrorEv))
        text += QStringLiteral(" ± %1").arg(significant(fit.ActivationErrorEv, 2, s));
    return text + tr(" эВ, τ₀ = %1 с, R² = %2 (пиков: %3)")
                      .arg(significant(fit.Tau0S, 3, s), significant(fit.RSquared, 6, s))
                      .arg(fit.PeakCount);
}

QString vogelFulcher(const TVogelFulcherFit &fit, QChar s) {
    using Problem = TVogelFulcherFit::Problem;
    const QString freezing = significant(fit.FreezingK, 4, s);
    switch (fit.problem) {
    case Problem::TooFewPeaks:
        return tr("Фогель–Фулчер: нужно не меньше четырёх пиков внутри диапазона (есть %1).")
            .arg(fit.PeakCount);
    case Problem::NotConverged:
        return tr("Фогель–Фулчер: подгонка не сошлась.");
    case Problem::FreezingAbovePeak:
        return tr("Фогель–Фулчер: T_VF = %1 K не ниже температуры пика — закон к "
                  "этим пикам не подходит.")
            .arg(freezing);
    case Problem::FreezingBelowZero:
        return tr("Фогель–Фулчер: T_VF вышла ниже 0 K — пики следуют закону "
                  "Аррениуса.");
    case Problem::NoActivation:
        return tr("Фогель–Фулчер: пики не смещаются к высоким частотам с ростом "
                  "температуры.");
    case Problem::None:
        break;
    }
    return tr("Фогель–Фулчер: E = %1 ± %2 эВ, T_VF = %3 ± %4 K, f₀ = %5 Hz, "
              "СКО ln f = %6")
        .arg(significant(fit.ActivationEv, 4, s), significant(fit.ActivationErrorEv, 2, s),
             freezing, significant(fit.FreezingErrorK, 2, s), significant(fit.F0Hz, 3, s),
             significant(fit.ResidualRms, 2, s));
}

QString mainName() {
    return tr("Основной");
}

QString secondaryName() {
    return tr("Дополнительный");
}

QStringList peakTableTitles() {
    return {QStringLiteral("f, Hz"), QStringLiteral("Tm, °C"), QStringLiteral("Tm, K"),
            tr("Значение"), tr("Примечание")};
}

} // namespace relaxationtext
