#include "plot/chart_quantity.h"

#include "material/dielectric.h"

#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What a quantity's value is worked out from.
enum class Source {
    Displayed, // the reading's value as the meter displayed it
    Pair,      // the displayed pair, whatever the cell (a ratio such as tan delta)
    Sample,    // the displayed pair and the run's sample
};

struct Entry {
    const char *key;
    Source source;
    const char16_t *symbol;
    const char *unit;
    bool logScale;
    // Of a displayed value: which one of the pair, and its name and unit.
    double TPlotReading::*displayed;
    QString TPlotReading::*name;
    QString TPlotReading::*displayedUnit;
    // Of a value worked out.
    double TMaterialValues::*material;
};

constexpr Entry displayed(const char *key, double TPlotReading::*value, QString TPlotReading::*name,
                          QString TPlotReading::*unit) {
    return {key, Source::Displayed, u"", "", true, value, name, unit, nullptr};
}

constexpr bool kLinearOnly = false;

constexpr Entry material(const char *key, Source source, const char16_t *symbol, const char *unit,
                         double TMaterialValues::*value, bool logScale = true) {
    return {key, source, symbol, unit, logScale, nullptr, nullptr, nullptr, value};
}

// The list. A new quantity is one line here (and its title in ui/chart_quantity_text).
const Entry kList[] = {
    displayed("main", &TPlotReading::MainValue, &TPlotReading::MainName, &TPlotReading::MainUnit),
    displayed("secondary", &TPlotReading::SecValue, &TPlotReading::SecName, &TPlotReading::SecUnit),
    material("eps_real", Source::Sample, u"ε′", "", &TMaterialValues::EpsReal, kLinearOnly),
    material("eps_imag", Source::Sample, u"ε″", "", &TMaterialValues::EpsImag),
    material("tan_delta", Source::Pair, u"tan δ", "", &TMaterialValues::TanDelta),
    material("sigma", Source::Sample, u"σ′", "S/m", &TMaterialValues::SigmaSPerM),
    material("modulus_imag", Source::Sample, u"M″", "", &TMaterialValues::ModulusImag),
};
constexpr int kCount = int(std::size(kList));

// The symbols and units as texts made once, so that the series count their
// points per unit by comparing pointers, as they do the readings' shared texts.
struct Words {
    QString symbol[kCount];
    QString unit[kCount];
};

const Words &words() {
    static const Words all = [] {
        Words w;
        for (int at = 0; at < kCount; ++at) {
            w.symbol[at] = QString::fromUtf16(kList[at].symbol);
            w.unit[at] = QLatin1String(kList[at].unit);
        }
        return w;
    }();
    return all;
}

} // namespace

const QVector<TChartQuantity> &chartQuantities() {
    static const QVector<TChartQuantity> all = [] {
        QVector<TChartQuantity> list;
        for (int at = 0; at < kCount; ++at)
            list << TChartQuantity(at);
        return list;
    }();
    return all;
}

QString TChartQuantity::key() const {
    return QLatin1String(kList[m_at].key);
}

std::optional<TChartQuantity> TChartQuantity::ofKey(const QString &key) {
    for (int at = 0; at < kCount; ++at)
        if (key == QLatin1String(kList[at].key))
            return TChartQuantity(at);
    return std::nullopt;
}

bool TChartQuantity::isDisplayed() const {
    return kList[m_at].source == Source::Displayed;
}

bool TChartQuantity::needsSample() const {
    return kList[m_at].source == Source::Sample;
}

bool TChartQuantity::offersLogScale() const {
    return kList[m_at].logScale;
}

const QString &TChartQuantity::symbol() const {
    return words().symbol[m_at];
}

const QString &TChartQuantity::unit() const {
    return words().unit[m_at];
}

const QString &TChartQuantity::nameIn(const TPlotReading &reading) const {
    return isDisplayed() ? reading.*kList[m_at].name : symbol();
}

const QString &TChartQuantity::unitIn(const TPlotReading &reading) const {
    return isDisplayed() ? reading.*kList[m_at].displayedUnit : unit();
}

double TChartQuantity::value(const TPlotReading &reading, const std::optional<TSampleCell> &cell,
                             TPairProblem *why) const {
    const Entry &entry = kList[m_at];
    if (entry.source == Source::Displayed)
        return reading.*entry.displayed;
    if (entry.source == Source::Sample && !cell)
        return kNaN;
    // A ratio of the pair is the same whatever the cell, so any cell will do without a sample.
    const TSampleCell anyCell{1.0, kVacuumPermittivity};
    TMaterialValues v;
    const TPairProblem problem =
        materialValues(reading.pair(), reading.FrequencyHz, cell.value_or(anyCell), &v);
    if (why)
        *why = problem;
    if (problem != TPairProblem::None)
        return kNaN;
    return v.*entry.material;
}

QVector<TQuantityGap> quantityGaps(const TRunReadings &readings, TChartQuantity quantity,
                                   const std::optional<TSampleCell> &cell) {
    QVector<TQuantityGap> gaps;
    if (quantity.isDisplayed() || (quantity.needsSample() && !cell))
        return gaps;
    const QVector<TPlotReading> &all = readings.readings();
    for (int at = 0; at < all.size(); ++at) {
        if (!readings.isNewest(at))
            continue;
        const TPlotReading &r = all[at];
        TPairProblem problem = TPairProblem::None;
        quantity.value(r, cell, &problem);
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
