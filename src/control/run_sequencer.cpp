#include "control/run_sequencer.h"

#include "control/handler_errors.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "model/app_state.h"
#include "run/results_layout.h"
#include "ui/run_texts.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>

namespace {

constexpr int kBothLinks = 0;

QString cellText(const QTableWidget *grid, int row, int column) {
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TRunSequencer::TRunSequencer(TAppState &state, RunEngine &engine, const TRunCommands &commands,
                             QTableWidget *grdTable, QLineEdit *lblSkipIM, Links links,
                             UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_state(state), m_engine(engine), m_actions(commands), m_grid(grdTable),
      m_lblSkipIM(lblSkipIM), m_links(std::move(links)), m_prompts(prompts) {}

bool TRunSequencer::ValidateFrequencies() {
    QStringList cells;
    for (int column = resultslayout::kFirstFrequencyColumn; column < m_grid->columnCount();
         ++column)
        cells << cellText(m_grid, 0, column);
    return m_engine.takeFrequencies(cells);
}

// The frequencies are taken and the CSV table sized before anything else can
// refuse the start.
void TRunSequencer::actStartExecute() {
    if (!ValidateFrequencies()) {
        warn(runtext::badFrequencies());
        return;
    }

    bool isInteger = false;
    const int skip = m_lblSkipIM->text().toInt(&isInteger, 10);
    if (!isInteger)
        return; // without a word; the CSV table stays sized
    m_engine.setSkipCount(static_cast<uint8_t>(skip));

    if (!m_engine.portsOpen()) {
        warn(runtext::devicesMissing());
        return;
    }

    // A past run changes only when the user says so; a new run starts from
    // the same table, emptied, and the journal keeps the past one as it was.
    if (m_pastRunOnScreen) {
        switch (AskPastRunStart(m_prompts)) {
        case PastRunStart::Cancel:
            return;
        case PastRunStart::StartNew:
            m_links.emptyReadings();
            m_engine.sizeCsvTable();
            break;
        case PastRunStart::Continue:
            break;
        }
        m_pastRunOnScreen = false;
    }

    m_actions.actApplySettiingsTempAndGrid->setEnabled(false);
    m_actions.actStop->setEnabled(true);
    m_actions.actStart->setEnabled(false);
    m_links.setKeypadEnabled(false);
    m_actions.actFileSaveTo->setEnabled(false);
    m_links.setTableTag(1);
    m_engine.beginRun();
    emit runStarted();
}

void TRunSequencer::actStopExecute() {
    m_engine.stop();
    // The run is over whatever the ports do; the autoconnection reopens them.
    try {
        m_links.setLinkOpen(false, kBothLinks);
    } catch (const std::exception &e) {
        logHandlerError("actStopExecute: closing the links", e);
    }
    m_actions.actApplySettiingsTempAndGrid->setEnabled(true);
    m_actions.actStop->setEnabled(false);
    m_actions.actStart->setEnabled(true);
    m_links.setKeypadEnabled(true);
    m_actions.actFileSaveTo->setEnabled(true);
    emit runStopped();
}

void TRunSequencer::warn(const QString &text) {
    const QVector<TPromptChoice> onlyCancel = {{TPromptChoice::Role::Cancel, {}}};
    m_state.LastDialogResult =
        answerCode(onlyCancel, m_prompts.question(TPromptIcon::Warning, text, onlyCancel, 0));
}
