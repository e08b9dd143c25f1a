#include "control/readings_export_command.h"

#include "engine/user_prompts.h"
#include "plot/readings_export.h"
#include "ui/reason_texts.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Named after the time of the run's first reading, so that the files of
// several runs do not overwrite one another by default.
QString suggestedName(const TRunReadings &readings) {
    const QDateTime first =
        readings.readings().isEmpty() ? QDateTime() : readings.readings().first().Time;
    if (!first.isValid())
        return QStringLiteral("Отсчёты.csv");
    return QStringLiteral("Отсчёты %1.csv").arg(first.toString(QStringLiteral("yyyy-MM-dd HH-mm")));
}

} // namespace

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
        m_prompts.notice(TPromptIcon::Warning, tr("Нет записанных отсчётов — сохранять нечего."));
        return;
    }
    const QString suggested = m_lastFolder.isEmpty()
                                  ? suggestedName(readings)
                                  : QDir(m_lastFolder).filePath(suggestedName(readings));
    TFileRequest request;
    request.caption = tr("Сохранить все отсчёты");
    request.filter = tr("Таблица CSV (*.csv)");
    request.start = suggested;
    request.defaultSuffix = QStringLiteral("csv");
    request.objectName = QStringLiteral("dlgSaveReadings");
    const QString chosen = m_prompts.saveFile(request);
    if (chosen.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    TFileResult result = readingsexport::write(chosen, readings.readings(), run);
    if (result.ok)
        result = readingsexport::writePeaks(chosen, readings, run);
    if (!result.ok)
        m_prompts.notice(TPromptIcon::Warning, FileResultText(result));
}
