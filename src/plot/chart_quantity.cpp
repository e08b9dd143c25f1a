#include "plot/chart_quantity.h"

#include "material/dielectric.h"

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Row {
    TChartQuantity quantity;
    const char *key;
    const char16_t *symbol;
    const char *unit;
};

const Row kRows[] = {
    {TChartQuantity::Main, "main", u"", ""},
    {TChartQuantity::Secondary, "secondary", u"", ""},
    {TChartQuantity::EpsReal, "eps_real", u"ε′", ""},
    {TChartQuantity::EpsImag, "eps_imag", u"ε″", ""},
    {TChartQuantity::TanDelta, "tan_delta", u"tan δ", ""},
    {TChartQuantity::Sigma, "sigma", u"σ′", "S/m"},
    {TChartQuantity::ModulusImag, "modulus_imag", u"M″", ""},
};

const Row &rowOf(TChartQuantity quantity) {
    for (const Row &row : kRows)
        if (row.quantity == quantity)
            return row;
    return kRows[0];
}

} // namespace

const QVector<TChartQuantity> &chartQuantities() {
    static const QVector<TChartQuantity> all = [] {
        QVector<TChartQuantity> list;
        for (const Row &row : kRows)
            list << row.quantity;
        return list;
    }();
    return all;
}

bool quantityNeedsSample(TChartQuantity quantity) {
    return quantity != TChartQuantity::Main && quantity != TChartQuantity::Secondary &&
           quantity != TChartQuantity::TanDelta;
}

bool quantityOffersLogScale(TChartQuantity quantity) {
    return quantity != TChartQuantity::EpsReal;
}

QString quantitySymbol(TChartQuantity quantity) {
    return QString::fromUtf16(rowOf(quantity).symbol);
}

QString quantityUnit(TChartQuantity quantity) {
    return QLatin1String(rowOf(quantity).unit);
}

QString quantityKey(TChartQuantity quantity) {
    return QLatin1String(rowOf(quantity).key);
}

std::optional<TChartQuantity> quantityOfKey(const QString &key) {
    for (const Row &row : kRows)
        if (key == QLatin1String(row.key))
            return row.quantity;
    return std::nullopt;
}

double quantityValue(const TPlotReading &reading, TChartQuantity quantity,
                     const std::optional<TSampleCell> &cell, TPairProblem *why) {
    switch (quantity) {
    case TChartQuantity::Main:
        return reading.MainValue;
    case TChartQuantity::Secondary:
        return reading.SecValue;
    default:
        break;
    }
    if (quantityNeedsSample(quantity) && !cell)
        return kNaN;
    // tan delta is G / B whatever the cell, so any cell will do without a sample.
    const TSampleCell anyCell{1.0, kVacuumPermittivity};
    TMaterialValues v;
    const TPairProblem problem =
        materialValues(reading.pair(), reading.FrequencyHz, cell.value_or(anyCell), &v);
    if (why)
        *why = problem;
    if (problem != TPairProblem::None)
        return kNaN;
    switch (quantity) {
    case TChartQuantity::EpsReal:
        return v.EpsReal;
    case TChartQuantity::EpsImag:
        return v.EpsImag;
    case TChartQuantity::TanDelta:
        return v.TanDelta;
    case TChartQuantity::Sigma:
        return v.SigmaSPerM;
    default:
        return v.ModulusImag;
    }
}

QVector<TQuantityGap> quantityGaps(const TRunReadings &readings, TChartQuantity quantity,
                                   const std::optional<TSampleCell> &cell) {
    QVector<TQuantityGap> gaps;
    if (quantity == TChartQuantity::Main || quantity == TChartQuantity::Secondary ||
        (quantityNeedsSample(quantity) && !cell))
        return gaps;
    const QVector<TPlotReading> &all = readings.readings();
    for (int at = 0; at < all.size(); ++at) {
        if (!readings.isNewest(at))
            continue;
        const TPlotReading &r = all[at];
        TPairProblem problem = TPairProblem::None;
        quantityValue(r, quantity, cell, &problem);
        if (problem == TPairProblem::None)
            continue;
        bool known = false;
        for (TQuantityGap &gap : gaps)
            if (gap.Problem == problem && gap.MainName == r.MainName && gap.SecName == r.SecName) {
                ++gap.Cells;
                known = true;
                break;
            }
        if (!known)
            gaps.append({problem, r.MainName, r.SecName, 1});
    }
    return gaps;
}
