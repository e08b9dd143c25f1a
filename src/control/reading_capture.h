#pragma once

#include "journal/journal_records.h"

#include <QObject>

class QTableWidget;
class RunEngine;

// Where the engine's readings enter the results grid: each reading the
// engine records goes into its cell, each actual temperature into column 1
// of its set point, and both are passed on to the journal, the chart and the
// care of the run.
class TReadingCapture : public QObject {
    Q_OBJECT
public:
    TReadingCapture(RunEngine &engine, QTableWidget *grdTable, QObject *parent = nullptr);

signals:
    // A reading was written into its results cell (the grid already shows it).
    void readingRecorded(const TJournalReading &reading);
    // An actual temperature was written into column 1.
    void actualTemperatureRecorded(const TJournalActualTemperature &actual);

private:
    void showReading(const TJournalReading &reading);
    void showActualTemperature(const TJournalActualTemperature &actual);

    QTableWidget *m_grid;
};
