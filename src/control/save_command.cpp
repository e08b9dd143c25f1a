#include "control/save_command.h"

#include "base/cp1251.h"
#include "files/measurement_file.h"
#include "files/save_file_name.h"
#include "model/app_state.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace {

const QString kDefaultSuffix = QStringLiteral("tamrel");

// dlgSaveFile: an existing file is replaced without asking.
QString chooseFileToSave(QWidget *parent, const QString &suggested) {
    QFileDialog dlgSaveFile(parent, QStringLiteral("Укажите место"), suggested,
                            QStringLiteral("Tamrel CSV Files (*.csv)"));
    dlgSaveFile.setObjectName(QStringLiteral("dlgSaveFile"));
    dlgSaveFile.setAcceptMode(QFileDialog::AcceptSave);
    dlgSaveFile.setDefaultSuffix(kDefaultSuffix);
    dlgSaveFile.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlgSaveFile.exec() != QDialog::Accepted)
        return QString();
    return dlgSaveFile.selectedFiles().value(0);
}

} // namespace

QString withDefaultSuffix(const QString &fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + kDefaultSuffix;
}

TSaveCommand::TSaveCommand(TAppState &state, QPlainTextEdit *reLogFile, QObject *parent)
    : QObject(parent), m_state(state), m_reLogFile(reLogFile) {
    QWidget *window = m_reLogFile ? m_reLogFile->window() : nullptr;
    m_chooseFile = [window](const QString &suggested) {
        return chooseFileToSave(window, suggested);
    };
}

// The header values come from the latest meter packet; with none yet they are
// empty. The log shows the text even when the file cannot be written, and a
// failed save is reported with the file's name and the cause.
void TSaveCommand::actFileSaveToExecute() {
    const QString chosen = m_chooseFile ? m_chooseFile(m_lastFileName) : QString();
    if (chosen.isEmpty())
        return;
    if (const QString problem = saveFileNameProblem(chosen); !problem.isEmpty()) {
        if (m_showError)
            m_showError(problem);
        return;
    }
    m_lastFileName = withDefaultSuffix(chosen);

    TEventRec record;
    m_state.EventStore.GetLast(kMeterRecord, record);
    FillHeaderFromPacket(m_state.CSVTable, record.IM);

    const QString text = m_state.CSVTable.TableToText();
    m_reLogFile->setPlainText(cp1251::decode(cp1251::encode(text)));

    const TFileResult result = m_state.CSVTable.SaveTableToFile(m_lastFileName);
    if (!result.ok && m_showError)
        m_showError(result.error);
}
