#include "control/save_command.h"

#include "base/cp1251.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "files/measurement_file.h"
#include "files/save_file_name.h"
#include "ui/file_log_view.h"
#include "ui/file_requests.h"
#include "ui/reason_texts.h"

#include <QFileInfo>

namespace {

const QString kDefaultSuffix = QStringLiteral("tamrel");

} // namespace

QString withDefaultSuffix(const QString &fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + kDefaultSuffix;
}

TSaveCommand::TSaveCommand(RunEngine &engine, FileLogView *reLogFile, UserPrompts &prompts,
                           QObject *parent)
    : QObject(parent), m_engine(engine), m_reLogFile(reLogFile), m_prompts(prompts) {}

// The header values come from the run's newest reading, so that a run saves
// the same whenever and from wherever it is saved. A table without a reading
// takes the latest meter packet, and before the meter has sent a frame keeps
// the ones it holds.
void TSaveCommand::fillHeader() {
    if (const std::optional<TIMPacket> header = m_headerSource ? m_headerSource() : std::nullopt) {
        FillHeaderFromPacket(m_engine.csvTable(), *header);
    } else if (m_engine.store().HoldsMeterFrame()) {
        TEventRec record;
        m_engine.store().GetLast(kMeterRecord, record);
        FillHeaderFromPacket(m_engine.csvTable(), record.IM);
    }
}

void TSaveCommand::actFileSaveToExecute() {
    fillHeader();
    const QString fileName = saveTable(m_engine.csvTable());
    if (!fileName.isEmpty())
        emit saved(fileName);
}

QString TSaveCommand::saveRunTo(const QString &fileName) {
    fillHeader();
    if (const QString problem = writeTable(m_engine.csvTable(), fileName); !problem.isEmpty())
        return problem;
    emit saved(fileName);
    return QString();
}

// The log shows the text even when the file cannot be written, and a failed
// save is reported with the file's name and the cause.
QString TSaveCommand::saveTable(const TCSVTable &table) {
    // dlgSaveFile: an existing file is replaced without asking.
    const QString chosen =
        m_prompts.saveFile(filerequest::measurementFile(m_lastFileName, kDefaultSuffix));
    if (chosen.isEmpty())
        return QString();
    if (const TFileResult checked = checkSaveFileName(chosen); !checked.ok) {
        m_prompts.notice(TPromptIcon::Warning, FileResultText(checked));
        return QString();
    }
    m_lastFileName = withDefaultSuffix(chosen);
    if (const QString problem = writeTable(table, m_lastFileName); !problem.isEmpty()) {
        m_prompts.notice(TPromptIcon::Warning, problem);
        return QString();
    }
    return m_lastFileName;
}

// One text and one conversion serve the log and the file. The log shows
// what the file holds, which differs from the text only where the code
// page has no character.
QString TSaveCommand::writeTable(const TCSVTable &table, const QString &fileName) {
    const QString text = table.TableToText();
    bool lossless = true;
    const QByteArray bytes = cp1251::encode(text, &lossless);
    m_reLogFile->setPlainText(lossless ? text : cp1251::decode(bytes));
    return FileResultText(SaveBytesToFile(fileName, bytes));
}
