#include "control/engine_journal.h"

#include "control/journal_thread.h"
#include "engine/run_engine.h"
#include "journal/run_journal.h"
#include "ui/journal_texts.h"

EngineJournal::EngineJournal(RunEngine &engine, TJournalThread &journal, QObject *parent)
    : QObject(parent), m_engine(engine), m_journal(journal) {
    connect(&engine, &RunEngine::tablePrepared, this, [this] {
        m_run.reset();
        m_hasReadings = false;
    });
    connect(&engine, &RunEngine::runStarted, this, &EngineJournal::onRunStarted);
    connect(&engine, &RunEngine::runStopped, this, &EngineJournal::onRunStopped);
    connect(&engine, &RunEngine::readingRecorded, this, &EngineJournal::onReadingRecorded);
    connect(&engine, &RunEngine::actualTemperatureRecorded, this,
            &EngineJournal::onActualTemperatureRecorded);
    connect(&journal, &TJournalThread::failed, this, &EngineJournal::failure);
}

void EngineJournal::onRunStarted(const TJournalStart &start) {
    if (m_run) {
        m_journal.post([run = m_run, start](TRunJournal &journal) {
            return journal.recordStart(run->load(), start);
        });
        return;
    }
    TJournalTable table;
    for (const SetPointRow &row : m_engine.table().setPoints())
        table.SetPointTexts << row.text;
    table.TempStorage = m_engine.temperatures();
    table.DecimalSeparator = m_engine.store().decimalSeparator();
    m_run = std::make_shared<std::atomic<qint64>>(0);
    reportIfFailed(m_journal.call([run = m_run, table, start](TRunJournal &journal) {
        qint64 id = 0;
        const TJournalOutcome outcome = journal.beginRun(table, start, &id);
        if (outcome.ok)
            run->store(id);
        return outcome;
    }));
}

void EngineJournal::onRunStopped() {
    if (!m_run)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    m_journal.post([run = m_run, now](TRunJournal &journal) {
        const TJournalOutcome outcome = journal.endRun(run->load(), now);
        return outcome.ok ? journal.checkpoint() : outcome;
    });
    // The journal keeps no run without a reading; the next start begins another.
    if (!m_hasReadings)
        m_run.reset();
}

void EngineJournal::onReadingRecorded(const TJournalReading &reading) {
    if (!m_run)
        return;
    m_hasReadings = true;
    m_journal.post([run = m_run, reading](TRunJournal &journal) {
        return journal.recordReading(run->load(), reading);
    });
}

void EngineJournal::onActualTemperatureRecorded(const TJournalActualTemperature &actual) {
    if (!m_run || m_engine.phase() != RunPhase::Running)
        return;
    m_journal.post([run = m_run, actual](TRunJournal &journal) {
        return journal.recordActualTemperature(run->load(), actual);
    });
}

void EngineJournal::saved(const QString &fileName) {
    if (!m_run)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    m_journal.post([run = m_run, fileName, now](TRunJournal &journal) {
        const TJournalOutcome outcome =
            journal.markSaved(run->load(), TRunJournal::kAllReadings, fileName, now);
        return outcome.ok ? journal.checkpoint() : outcome;
    });
}

void EngineJournal::close() {
    m_journal.retryNow();
    m_journal.call([](TRunJournal &journal) {
        const TJournalOutcome outcome = journal.markCleanShutdown();
        return outcome.ok ? journal.checkpoint() : outcome;
    });
}

void EngineJournal::reportIfFailed(const TJournalOutcome &outcome) {
    if (!outcome.ok && outcome.tell)
        emit failure(journaltext::outcome(outcome));
}
