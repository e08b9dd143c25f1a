#include "control/last_setup.h"

#include "base/number_format.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QLineEdit>

TLastSetup::TLastSetup(const RunParameterWidgets &ui, ResultsGridView *grid, QAction *actApply,
                       QChar decimalSeparator, QObject *parent)
    : QObject(parent), m_ui(ui), m_grid(grid), m_actApply(actApply), m_separator(decimalSeparator) {
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
