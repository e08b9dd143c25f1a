#pragma once

#include "journal/journal_records.h"

#include <QObject>

#include <functional>

class QWidget;
class TJournalController;
class PastRunsDialog;
class RunEngine;
class UserPrompts;

// "Прошлые измерения...": the list of the journal's runs, from which a run is
// opened into the grid (not running), saved again as a measurement file,
// exported reading by reading, or deleted after the user confirms; below it
// the journal's size, its compaction and the deletion of runs by age.
class TPastRunsCommand : public QObject {
    Q_OBJECT
public:
    // Tests watch the dialog.
    using DialogShown = std::function<void(PastRunsDialog &dialog)>;

    // `prompts` asks before a run is deleted and says why one cannot be opened.
    TPastRunsCommand(const RunEngine &engine, TJournalController &journal, QWidget *dialogParent,
                     UserPrompts &prompts, QObject *parent = nullptr);

    // Called with the dialog once it is filled, instead of showing it modally.
    void setDialogShown(DialogShown shown) { m_shown = std::move(shown); }

signals:
    // The user asked for every reading of a past run in the export format.
    void readingsExportRequested(const TJournalRun &run);

public slots:
    void actPastRunsExecute();

private:
    void refresh(PastRunsDialog &dialog);
    void open(PastRunsDialog &dialog, qint64 runId);
    void remove(PastRunsDialog &dialog, qint64 runId);
    void removeOlder(PastRunsDialog &dialog, int days);
    void compact(PastRunsDialog &dialog);

    const RunEngine &m_engine;
    TJournalController &m_journal;
    QWidget *m_dialogParent;
    UserPrompts &m_prompts;
    DialogShown m_shown;
};
