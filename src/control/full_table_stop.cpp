#include "control/full_table_stop.h"

#include "base/number_format.h"
#include "engine/run_clock.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "files/autosave_name.h"
#include "plot/run_readings.h"
#include "ui/file_requests.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTableWidget>

#include <algorithm>

namespace {

// Columns before the frequencies: set points and actual temperatures.
constexpr int kLeadingColumns = 2;

const QString kStopKey = QStringLiteral("StopAndSaveWhenFull");
const QString kFolderKey = QStringLiteral("AutosaveFolder");

} // namespace

TFullTableStop::TFullTableStop(const RunEngine &engine, const TRunReadings &readings,
                               const QTableWidget *grid, const RunClock &clock,
                               QCheckBox *chbStopWhenFull, Actions actions,
                               const QString &choicesFile, UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_engine(engine), m_readings(readings), m_grid(grid), m_clock(clock),
      m_checkBox(chbStopWhenFull), m_actions(std::move(actions)), m_choicesFile(choicesFile),
      m_prompts(prompts) {
    bool stop = false;
    if (!m_choicesFile.isEmpty()) {
        const QSettings choices(m_choicesFile, QSettings::IniFormat);
        m_folder = choices.value(kFolderKey).toString();
        stop = choices.value(kStopKey, false).toBool() && !m_folder.isEmpty();
    }
    m_checkBox->setChecked(stop);
    if (!m_folder.isEmpty())
        m_checkBox->setToolTip(QDir::toNativeSeparators(m_folder));
    connect(m_checkBox, &QCheckBox::toggled, this, &TFullTableStop::checkBoxToggled);
}

bool TFullTableStop::stopWhenFull() const {
    return m_checkBox->isChecked() && !m_folder.isEmpty();
}

int TFullTableStop::filledCells() const {
    return m_readings.filledCellCount();
}

int TFullTableStop::totalCells() const {
    return m_engine.temperatures().Count() * std::max(0, m_grid->columnCount() - kLeadingColumns);
}

void TFullTableStop::tableTakenUp() {
    m_completion.reset(filledCells(), totalCells());
}

// Stopping and saving waits for the handler that recorded the reading to end.
void TFullTableStop::readingsChanged() {
    const TTableCompletion::Step step =
        m_completion.update(filledCells(), totalCells(), m_engine.isRunning(), stopWhenFull());
    if (step == TTableCompletion::Step::None)
        return;
    if (m_notify)
        m_notify({step == TTableCompletion::Step::Tell ? TRunNotice::Kind::TableFull
                                                       : TRunNotice::Kind::TableFullStopping});
    if (step == TTableCompletion::Step::TellStopAndSave)
        QMetaObject::invokeMethod(this, &TFullTableStop::stopAndSave, Qt::QueuedConnection);
}

void TFullTableStop::stopAndSave() {
    if (!m_engine.isRunning())
        return; // the user stopped it meanwhile
    m_actions.stopRun();

    QString label = m_actions.sampleName ? m_actions.sampleName().trimmed() : QString();
    if (label.isEmpty()) {
        const QChar sep = m_engine.store().decimalSeparator();
        label = tableLabel(numfmt::general(m_engine.temperatures().TempInit, sep),
                           numfmt::general(m_engine.temperatures().TempFinal, sep));
    }
    QDir().mkpath(m_folder);
    const QString fileName =
        autosaveFileName(m_folder, label, m_clock.now(),
                         [](const QString &path) { return QFileInfo::exists(path); });
    const QString problem = m_actions.saveTo(fileName);
    if (m_notify) {
        TRunNotice stopped{TRunNotice::Kind::RunStopped};
        stopped.savedFile = problem.isEmpty() ? fileName : QString();
        stopped.problem = problem;
        m_notify(stopped);
    }
    if (!problem.isEmpty())
        m_prompts.notice(TPromptIcon::Warning, problem);
}

// Ticking the box the first time asks where the files go; without a folder
// the box stays unticked.
void TFullTableStop::checkBoxToggled(bool checked) {
    if (checked && m_folder.isEmpty())
        chooseFolder();
    if (checked && m_folder.isEmpty()) {
        const QSignalBlocker quiet(m_checkBox);
        m_checkBox->setChecked(false);
    }
    keepChoices();
}

void TFullTableStop::chooseFolder() {
    const QString chosen = m_prompts.chooseFolder(filerequest::autosaveFolderCaption(), m_folder);
    if (chosen.isEmpty())
        return;
    m_folder = QDir::cleanPath(chosen);
    m_checkBox->setToolTip(QDir::toNativeSeparators(m_folder));
    keepChoices();
}

void TFullTableStop::keepChoices() const {
    if (m_choicesFile.isEmpty())
        return;
    QSettings choices(m_choicesFile, QSettings::IniFormat);
    choices.setValue(kStopKey, m_checkBox->isChecked());
    choices.setValue(kFolderKey, m_folder);
}
