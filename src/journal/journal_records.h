#pragma once

#include "material/sample.h"
#include "run/link_outage.h"
#include "run/freq_storage.h"
#include "run/temp_storage.h"

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <limits>
#include <optional>

struct TEventRec;

// What the run journal keeps, as plain values. Times are local.

// A prepared table: the set-point column as the grid shows it and the
// temperature storage behind it. It stays the same for the whole run.
struct TJournalTable {
    QStringList SetPointTexts; // column 0, rows 1..n
    TTempStorage TempStorage;  // the four parameters (TempDiff is the tolerance) and the items
    QChar DecimalSeparator = QLatin1Char(',');
};

// One start of a run over its table: the frequency row it read and the skip
// count it took. Starting again without preparing a new table is another
// start of the same run, since the grid and the CSV table keep their readings.
struct TJournalStart {
    QDateTime Time;
    QVector<int32_t> Frequencies; // grid columns 2.., left to right
    uint8_t SkipPacketCount = 0;
};

// One reading written into a results cell.
struct TJournalReading {
    int32_t Row = 0;       // grid row of the set point
    int32_t Col = 0;       // grid column of the frequency
    int32_t TempIndex = 0; // the set point's position in the temperature storage (CSV row)
    int32_t FreqIndex = 0; // the frequency's position in the frequency storage (CSV column)
    QDateTime Time;
    double SetPoint = 0.0;
    double Temperature = std::numeric_limits<double>::quiet_NaN();
    int32_t FrequencyHz = 0;
    QByteArray Frame; // the meter frame without its checksum byte (21 bytes)
    QString MainName;
    QString MainValue;
    QString MainUnit;
    QString MainBase;
    QString SecName;
    QString SecValue;
    QString SecUnit;
    QString SecBase;
    QString CellText; // exactly as the grid shows it
    qint64 Seq = 0;   // its place in the journal's history, once recorded there
};
// A run's readings are many: growing their vector moves the bytes, as every
// member allows (a member that points into itself would not).
Q_DECLARE_TYPEINFO(TJournalReading, Q_RELOCATABLE_TYPE);

// The user emptied a results cell after the reading numbered AfterSeq.
struct TJournalClearing {
    int32_t Row = 0;
    int32_t Col = 0;
    qint64 AfterSeq = 0;
};

// One actual temperature written into column 1.
struct TJournalActualTemperature {
    int32_t Row = 0;
    QDateTime Time;
    double SetPoint = 0.0;
    double Temperature = std::numeric_limits<double>::quiet_NaN();
    QString Text; // exactly as the grid shows it
};

// A run as the list of past runs shows it.
struct TJournalRunSummary {
    qint64 Id = 0;
    QDateTime StartedAt;
    // When the run was stopped; while it runs (or after the program died)
    // the time of its last reading, invalid when there is none.
    QDateTime EndedAt;
    int SetPointCount = 0;
    int FrequencyCount = 0; // of the latest start
    int CellCount = 0;      // results cells holding a reading
    QString SavedFile;      // empty until saved
    QDateTime SavedAt;
    bool UnsavedReadings = false;  // readings recorded after the last save, or never saved
    qint64 LastSeq = 0;            // the number of its newest reading (0: none)
    bool Incomplete = false;       // readings of it never reached the journal
    std::optional<TSample> Sample; // what the run measured, when the operator said
};

// A start and the readings recorded under it, oldest first.
struct TJournalSegment {
    TJournalStart Start;
    QVector<TJournalReading> Readings;
};

// A whole run, as loaded for a restore.
struct TJournalRun {
    TJournalRunSummary Summary;
    TJournalTable Table;
    QVector<TJournalSegment> Segments;                     // in the order of the starts
    QVector<TJournalActualTemperature> ActualTemperatures; // the latest per row, by row
    QVector<TJournalClearing> Clearings;                   // in the order made
    QVector<TLinkOutage> Outages;                          // by start
};

// The reading the capture has just written into cell (ti.Row, fi.Col).
TJournalReading journalReadingOf(const TEventRec &E, const TTempItem &ti, const TFreqItem &fi,
                                 const QString &cellText);
