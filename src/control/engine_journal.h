#pragma once

#include "journal/journal_outcome.h"
#include "journal/journal_records.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class RunEngine;
class TJournalThread;

// Keeps a run of the engine in the run journal as the window keeps its own:
// the first start over a prepared table begins a run, later starts continue
// it, every reading and (while running) actual temperature is written the
// moment it is recorded, a stop ends it and a save marks it saved.
class EngineJournal : public QObject {
    Q_OBJECT
public:
    EngineJournal(RunEngine &engine, TJournalThread &journal, QObject *parent = nullptr);

    void saved(const QString &fileName);
    // The session ends normally: what waits is tried once more, then the
    // clean end is recorded.
    void close();

signals:
    // Why the journal is not kept; said once per fault.
    void failure(const QString &message);

private:
    using RunRef = std::shared_ptr<std::atomic<qint64>>;

    void onRunStarted(const TJournalStart &start);
    void onRunStopped();
    void onReadingRecorded(const TJournalReading &reading);
    void onActualTemperatureRecorded(const TJournalActualTemperature &actual);
    void reportIfFailed(const TJournalOutcome &outcome);

    RunEngine &m_engine;
    TJournalThread &m_journal;
    RunRef m_run;
    // Readings of the current table handed to the journal.
    bool m_hasReadings = false;
};
