#include "control/past_runs_command.h"

#include "control/journal_controller.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "ui/journal_texts.h"
#include "ui/journal_upkeep_bar.h"
#include "ui/outage_text.h"
#include "ui/past_runs_dialog.h"

TPastRunsCommand::TPastRunsCommand(const RunEngine &engine, TJournalController &journal,
                                   QWidget *dialogParent, UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_engine(engine), m_journal(journal), m_dialogParent(dialogParent),
      m_prompts(prompts) {}

void TPastRunsCommand::actPastRunsExecute() {
    PastRunsDialog dialog(m_dialogParent);
    dialog.setDecimalSeparator(m_engine.store().decimalSeparator());
    connect(&dialog, &PastRunsDialog::selectedRunChanged, this, [this, &dialog](qint64 id) {
        dialog.setDetails(id == 0 ? QString()
                                  : outagetext::outageList(m_journal.outages(id),
                                                           m_engine.store().decimalSeparator()));
    });
    refresh(dialog);
    connect(&dialog, &PastRunsDialog::openRequested, this,
            [this, &dialog](qint64 id) { open(dialog, id); });
    connect(&dialog, &PastRunsDialog::saveRequested, this, [this, &dialog](qint64 id) {
        if (id == 0)
            return;
        m_journal.saveRun(id);
        refresh(dialog);
    });
    connect(&dialog, &PastRunsDialog::exportRequested, this, [this](qint64 id) {
        if (id == 0)
            return;
        if (const std::optional<TJournalRun> run = m_journal.load(id))
            emit readingsExportRequested(*run);
    });
    connect(&dialog, &PastRunsDialog::deleteRequested, this,
            [this, &dialog](qint64 id) { remove(dialog, id); });
    connect(dialog.upkeep(), &JournalUpkeepBar::deleteOlderRequested, this,
            [this, &dialog](int days) { removeOlder(dialog, days); });
    connect(dialog.upkeep(), &JournalUpkeepBar::compactRequested, this,
            [this, &dialog] { compact(dialog); });
    if (m_shown)
        m_shown(dialog);
    else
        dialog.exec();
}

void TPastRunsCommand::refresh(PastRunsDialog &dialog) {
    dialog.setRuns(m_journal.pastRuns(), m_journal.currentRunId());
    dialog.upkeep()->setJournalBytes(m_journal.journalBytes());
}

void TPastRunsCommand::open(PastRunsDialog &dialog, qint64 runId) {
    if (runId == 0)
        return;
    if (m_engine.isRunning()) {
        m_prompts.notice(TPromptIcon::None, journaltext::openWhileRunning());
        return;
    }
    if (m_journal.openRun(runId))
        dialog.accept();
}

void TPastRunsCommand::remove(PastRunsDialog &dialog, qint64 runId) {
    if (runId == 0 || runId == m_journal.currentRunId())
        return;
    for (const TJournalRunSummary &run : m_journal.pastRuns()) {
        if (run.Id != runId)
            continue;
        if (askYesNo(m_prompts, journaltext::deleteRunQuestion(run), true) &&
            m_journal.deleteRun(runId))
            refresh(dialog);
        return;
    }
}

// A run's age is counted from its end as the list shows it (its last reading
// when it was never stopped, its start when it has none).
void TPastRunsCommand::removeOlder(PastRunsDialog &dialog, int days) {
    const QDateTime before = QDateTime::currentDateTime().addDays(-days);
    QVector<qint64> older;
    int unsaved = 0;
    for (const TJournalRunSummary &run : m_journal.pastRuns()) {
        const QDateTime end = run.EndedAt.isValid() ? run.EndedAt : run.StartedAt;
        if (run.Id == m_journal.currentRunId() || !end.isValid() || end >= before)
            continue;
        older << run.Id;
        unsaved += run.UnsavedReadings ? 1 : 0;
    }
    if (older.isEmpty()) {
        m_prompts.notice(TPromptIcon::None, journaltext::noRunsOlderThan(days));
        return;
    }
    if (askYesNo(m_prompts, journaltext::deleteOlderQuestion(days, older.size(), unsaved), true) &&
        m_journal.deleteRuns(older))
        refresh(dialog);
}

void TPastRunsCommand::compact(PastRunsDialog &dialog) {
    m_journal.compact();
    refresh(dialog);
}
