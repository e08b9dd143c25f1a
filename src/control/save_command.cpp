#include "control/save_command.h"

#include "model/app_state.h"
#include "base/cp1251.h"
#include "ui/message_box.h"
#include "files/measurement_file.h"
#include "ui/main_window_ui.h"

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

void showSaveError(QWidget *parent, const QString &text) {
    ShowMessage(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

} // namespace

QString withDefaultSuffix(const QString &fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + kDefaultSuffix;
}

TSaveCommand::TSaveCommand(TAppState &state, const MainWindowUi &ui, QObject *parent)
    : QObject(parent), m_state(state), m_ui(ui) {
    QWidget *window = m_ui.reLogFile ? m_ui.reLogFile->window() : nullptr;
    m_chooseFile = [window](const QString &suggested) {
        return chooseFileToSave(window, suggested);
    };
    m_showError = [window](const QString &text) { showSaveError(window, text); };
}

// The header values come from the latest meter packet; with none yet they are
// empty. The log shows the text even when the file cannot be written, and a
// failed save is reported with the file's name and the cause.
void TSaveCommand::actFileSaveToExecute() {
    const QString chosen = m_chooseFile ? m_chooseFile(m_lastFileName) : QString();
    if (chosen.isEmpty())
        return;
    m_lastFileName = withDefaultSuffix(chosen);

    TEventRec record;
    m_state.EventStore.GetLast(kMeterRecord, record);
    FillHeaderFromPacket(m_state.CSVTable, record.IM);

    // One text and one conversion serve the log and the file. The log shows
    // what the file holds, which differs from the text only where the code
    // page has no character.
    const QString text = m_state.CSVTable.TableToText();
    bool lossless = true;
    const QByteArray bytes = cp1251::encode(text, &lossless);
    m_ui.reLogFile->setPlainText(lossless ? text : cp1251::decode(bytes));

    const TFileResult result = SaveBytesToFile(m_lastFileName, bytes);
    if (!result.ok && m_showError)
        m_showError(result.error);
}
