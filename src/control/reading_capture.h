#pragma once

#include "engine/capture_rule.h"
#include "journal/journal_records.h"

#include <QObject>

class QTableWidget;
class TFreqStepper;
struct TAppState;
struct TEventRec;

// Where readings enter the results table: the meter display refresh hands
// over every record it has shown, the thermometer display refresh every valid
// temperature. Settled readings go into the grid and the CSV table and move
// the meter on to the run's next frequency.
class TReadingCapture : public QObject {
    Q_OBJECT
public:
    TReadingCapture(TAppState &state, QTableWidget *grdTable, TFreqStepper &stepper,
                    QObject *parent = nullptr);

    // Takes E by the capture rule (CaptureRule): during a run a settled
    // reading lands in its cell of the grid and the CSV table; run or not,
    // the change to the next frequency starts unless one is in progress.
    void CaptureReading(const TEventRec &E);
    // Writes t into the actual-temperature column of the set point it matches.
    void CaptureActualTemperature(double t);

signals:
    // A reading was written into its results cell (the grid already shows it).
    void readingRecorded(const TJournalReading &reading);
    // An actual temperature was written into column 1.
    void actualTemperatureRecorded(const TJournalActualTemperature &actual);

private:
    TAppState &m_state;
    QTableWidget *m_grid;
    TFreqStepper &m_stepper;
    CaptureRule m_rule;
};
