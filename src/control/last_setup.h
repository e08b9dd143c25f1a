#pragma once

#include "journal/journal_records.h"
#include "ui/main_window_ui.h"

#include <QObject>

class QAction;
class ResultsGridView;

// Brings back at start what the newest run was started with: its column
// count, its frequencies in the header row and its skip count, so that a
// restart does not fall back to the defaults without a word.
class TLastSetup : public QObject {
    Q_OBJECT
public:
    // actApply lays the table out ("Подготовить таблицу").
    TLastSetup(const RunParameterWidgets &ui, ResultsGridView *grid, QAction *actApply,
               QChar decimalSeparator, QObject *parent = nullptr);

    // Lays out a table with the start's frequencies and takes its skip count.
    void apply(const TJournalStart &start);

private:
    RunParameterWidgets m_ui;
    ResultsGridView *m_grid;
    QAction *m_actApply;
    QChar m_separator;
};
