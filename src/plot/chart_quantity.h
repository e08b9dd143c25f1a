#pragma once

#include "material/admittance.h"
#include "material/sample.h"
#include "plot/run_readings.h"

#include <QString>
#include <QVector>

#include <optional>

// Which value of a reading a chart shows: one of the two parameters as the
// meter displayed them, or what the reading says about the material. Every
// quantity is one entry of the list in chart_quantity.cpp (its key, where
// its value comes from, the word and unit of its axis, whether it offers a
// logarithmic axis); the charts' choices, the kept choice and the axes all
// follow that list.
class TChartQuantity {
public:
    // A stable name for files that keep a choice ("eps_imag"), and back.
    QString key() const;
    static std::optional<TChartQuantity> ofKey(const QString &key);

    // A value as the meter displayed it, which each reading names itself.
    bool isDisplayed() const;
    // Those worked out of the pair but tan delta need the run's sample.
    bool needsSample() const;
    // Whether a logarithmic value axis is offered: not for eps', which spans
    // little and turns negative in an inductive reading.
    bool offersLogScale() const;
    // The symbol and the SI unit an axis shows, for the quantities the program
    // works out ("ε″", ""; "σ′", "S/m"); empty for the two displayed ones.
    const QString &symbol() const;
    const QString &unit() const;
    // What the axis calls the value of one reading: the displayed parameter's
    // name and unit ("Cp", "F"), or the symbol and unit.
    const QString &nameIn(const TPlotReading &reading) const;
    const QString &unitIn(const TPlotReading &reading) const;

    // The value of one reading; NaN when the reading does not give it. `why`,
    // when given, is set to the pair's problem when that is the reason.
    double value(const TPlotReading &reading, const std::optional<TSampleCell> &cell,
                 TPairProblem *why = nullptr) const;

    bool operator==(const TChartQuantity &other) const { return m_at == other.m_at; }
    bool operator!=(const TChartQuantity &other) const { return m_at != other.m_at; }

private:
    explicit TChartQuantity(int at) : m_at(at) {}
    friend const QVector<TChartQuantity> &chartQuantities();

    int m_at; // in the list
};

// Every quantity, in the order a chart offers them: the two displayed
// parameters first, which the upper and the lower chart start with.
const QVector<TChartQuantity> &chartQuantities();

// Why readings give no value of a quantity: one entry per kind of pair, with
// how many cells it leaves out.
struct TQuantityGap {
    TPairProblem Problem = TPairProblem::None;
    QString MainName;
    QString SecName;
    int Cells = 0;
};
// Of the newest reading of every cell; none for the two displayed quantities.
QVector<TQuantityGap> quantityGaps(const TRunReadings &readings, TChartQuantity quantity,
                                   const std::optional<TSampleCell> &cell);
