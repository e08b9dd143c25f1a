#include "control/past_runs_command.h"

#include "control/journal_controller.h"
#include "model/app_state.h"
#include "plot/outage_text.h"
#include "ui/message_box.h"
#include "ui/past_runs_dialog.h"

#include <QLocale>

TPastRunsCommand::TPastRunsCommand(const TAppState &state, TJournalController &journal,
                                   QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_state(state), m_journal(journal), m_dialogParent(dialogParent) {
    m_ask = [dialogParent](const QString &text) { return AskBeforeDestroying(dialogParent, text); };
}

void TPastRunsCommand::actPastRunsExecute() {
    PastRunsDialog dialog(m_dialogParent);
    dialog.setDecimalSeparator(m_state.DecimalSeparator);
    connect(&dialog, &PastRunsDialog::selectedRunChanged, this, [this, &dialog](qint64 id) {
        dialog.setDetails(
            id == 0 ? QString()
                    : outagetext::outageList(m_journal.outages(id), m_state.DecimalSeparator));
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
    if (m_shown)
        m_shown(dialog);
    else
        dialog.exec();
}

void TPastRunsCommand::refresh(PastRunsDialog &dialog) {
    dialog.setRuns(m_journal.pastRuns(), m_journal.currentRunId());
}

void TPastRunsCommand::open(PastRunsDialog &dialog, qint64 runId) {
    if (runId == 0)
        return;
    if (m_state.RunActive == 1) {
        ShowNotice(&dialog, QStringLiteral("Во время измерений другую таблицу открыть нельзя. "
                                           "Остановите измерения."));
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
        const QString question =
            QStringLiteral("Удалить из журнала измерения, начатые %1 (заполнено ячеек: %2)? "
                           "Вернуть их будет нельзя.")
                .arg(QLocale().toString(run.StartedAt, QStringLiteral("dd.MM.yyyy HH:mm:ss")))
                .arg(run.CellCount);
        if (m_ask(question) && m_journal.deleteRun(runId))
            refresh(dialog);
        return;
    }
}
