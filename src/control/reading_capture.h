#pragma once

#include "journal/journal_records.h"

#include <QObject>

#include <cstdint>
#include <optional>

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

    // Takes E once SkipPacketCount frames have passed since the last key and
    // the temperature, both now and when E arrived, lies in the table's range.
    // During a run the reading lands in the cell of the frequency E reports
    // (its own, not the stamp of the frame before it) and of the
    // set point its temperature matches, once for each frame; run or not,
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
    // The event store's Index of the last frame written into a cell.
    std::optional<int32_t> m_lastRecorded;
};
