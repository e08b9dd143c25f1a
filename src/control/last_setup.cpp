#include "control/last_setup.h"

#include "base/number_format.h"
#include "control/journal_controller.h"
#include "control/table_preparation.h"
#include "engine/run_engine.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QLineEdit>

TLastSetup::TLastSetup(const RunEngine &engine, TTablePreparation &table,
                       TJournalController &journal, const RunParameterWidgets &ui,
                       ResultsGridView *grid, QAction *actApply, QChar decimalSeparator,
                       QObject *parent)
    : QObject(parent), m_engine(engine), m_table(table), m_journal(journal), m_ui(ui), m_grid(grid),
      m_actApply(actApply), m_separator(decimalSeparator) {}

void TLastSetup::settingsLoaded() {
    if (m_ui.leFreqColCount->text() != QLatin1String("5"))
        return;
    m_actApply->trigger();
    m_table.placeDefaultFrequencies();
}

void TLastSetup::journalReady() {
    if (m_engine.isRunning() || m_table.tableTag() != 0 || m_journal.currentRunId() != 0)
        return;
    if (const std::optional<TJournalStart> start = m_journal.latestStart())
        apply(*start);
}

void TLastSetup::apply(const TJournalStart &start) {
    m_ui.lblSkipIM->setText(numfmt::general(start.SkipPacketCount, m_separator));
    if (start.Frequencies.isEmpty())
        return;
    m_ui.leFreqColCount->setText(numfmt::general(start.Frequencies.size(), m_separator));
    m_actApply->trigger();
    const int columns = m_grid->columnCount() - ResultsGridView::FrozenColumnCount;
    if (columns != start.Frequencies.size())
        return; // the table could not be laid out (its temperatures are not valid)
    for (int i = 0; i < columns; ++i)
        setCellText(m_grid, 0, ResultsGridView::FrozenColumnCount + i,
                    numfmt::general(start.Frequencies[i], m_separator));
}
