#pragma once

#include "journal/journal_records.h"
#include "ui/main_window_ui.h"

#include <QObject>

class QAction;
class ResultsGridView;
class RunEngine;
class TJournalController;
class TTablePreparation;

// The table the window starts with. As soon as the settings are in the panel, a table
// of the default five columns is laid out with the default frequencies; once the
// journal is open, what the newest run was started with comes back: its column
// count, its frequencies in the header row and its skip count, so that a restart does
// not fall back to the defaults without a word.
class TLastSetup : public QObject {
    Q_OBJECT
public:
    // actApply lays the table out ("Подготовить таблицу"). The engine, the table and the
    // journal tell whether something else is on the screen already.
    TLastSetup(const RunEngine &engine, TTablePreparation &table, TJournalController &journal,
               const RunParameterWidgets &ui, ResultsGridView *grid, QAction *actApply,
               QChar decimalSeparator, QObject *parent = nullptr);

    // The settings file was read into the panel.
    void settingsLoaded();
    // The journal is open: the newest run's setup comes back, unless a lost run came back
    // whole or the user has begun something else meanwhile.
    void journalReady();

private:
    // Lays out a table with the start's frequencies and takes its skip count.
    void apply(const TJournalStart &start);

    const RunEngine &m_engine;
    TTablePreparation &m_table;
    TJournalController &m_journal;
    RunParameterWidgets m_ui;
    ResultsGridView *m_grid;
    QAction *m_actApply;
    QChar m_separator;
};
