#include "control/readings_export_command.h"

#include "engine/user_prompts.h"
#include "plot/readings_export.h"
#include "ui/file_requests.h"
#include "ui/reason_texts.h"

#include <QDir>
#include <QFileInfo>

TReadingsExportCommand::TReadingsExportCommand(const TRunReadings &current, UserPrompts &prompts,
                                               QObject *parent)
    : QObject(parent), m_current(current), m_prompts(prompts) {}

void TReadingsExportCommand::actFileSaveReadingsExecute() {
    save(m_current, m_describe ? m_describe() : TRunDescription());
}

void TReadingsExportCommand::saveRun(const TJournalRun &run) {
    TRunReadings readings(run.Table.DecimalSeparator);
    readings.loadRun(run);
    save(readings, describeRun(run));
}

void TReadingsExportCommand::save(const TRunReadings &readings, const TRunDescription &run) {
    if (readings.readings().isEmpty()) {
        m_prompts.notice(TPromptIcon::Warning, filerequest::noReadingsToSave());
        return;
    }
    const QString chosen =
        m_prompts.saveFile(filerequest::readings(m_lastFolder, readings.readings().first().Time));
    if (chosen.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    TFileResult result = readingsexport::write(chosen, readings.readings(), run);
    if (result.ok)
        result = readingsexport::writePeaks(chosen, readings, run);
    if (!result.ok)
        m_prompts.notice(TPromptIcon::Warning, FileResultText(result));
}
