#pragma once

#include "base/event_rec.h"
#include "files/csv_table.h"
#include "journal/journal_records.h"
#include "run/freq_storage.h"
#include "run/temp_storage.h"

#include <QString>
#include <QVector>

// One cell of the results grid to write back.
struct TJournalGridCell {
    int Row = 0;
    int Col = 0;
    QString Text;
};

// A run rebuilt from the journal: what the program held when the run's last
// reading was recorded.
struct TJournalReplay {
    int RowCount = 0;
    int ColCount = 0;
    // Every cell the grid showed, row by row: the headers, the frequencies,
    // the set points, the actual temperatures and the readings.
    QVector<TJournalGridCell> Cells;
    TTempStorage TempStorage;
    TFreqStorage FreqStorage; // of the latest start
    // Filled as the run filled it: each start sizes and titles it, each
    // reading goes in through StoreReading in the order recorded, so the
    // blocks keep the order in which their names first came. Its header
    // values are those of the last reading's frame.
    TCSVTable CSVTable;
};

TJournalReplay replayRun(const TJournalRun &run);

// The display a recorded frame (as TJournalReading::Frame keeps it) showed.
// A run's measurement file takes its header values from its newest reading's.
TIMPacket packetOfFrame(const QByteArray &frame, QChar separator);
