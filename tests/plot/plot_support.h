// Readings as the capture records them, for the tests of the window-free
// chart, trend and export code.
#pragma once

#include "journal/journal_records.h"
#include "plot/chart_quantity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cmath>
#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

// The quantity of the charts' list with this key ("main", "eps_imag").
inline TChartQuantity quantity(const char *key) {
    return *TChartQuantity::ofKey(QLatin1String(key));
}

// A Cp/D reading in cell (row, col) at hz, with its base-unit texts written
// with a comma, as on the lab PCs.
inline TJournalReading cpReading(int row, int col, int hz, double temperature,
                                 const QString &mainBase, const QString &secBase = "0,001") {
    TJournalReading r;
    r.Row = row;
    r.Col = col;
    r.TempIndex = row - 1;
    r.FreqIndex = col - 2;
    r.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 15, 30, 250));
    r.SetPoint = 20 + (row - 1);
    r.Temperature = temperature;
    r.FrequencyHz = hz;
    r.Frame = QByteArray(21, '\0');
    r.Frame[0] = char(0xAA);
    r.Frame[20] = char(row);
    r.MainName = "Cp";
    r.MainValue = "1,2345";
    r.MainUnit = "nF";
    r.MainBase = mainBase;
    r.SecName = "D";
    r.SecValue = "0,0010";
    r.SecUnit = "  ";
    r.SecBase = secBase;
    return r;
}
