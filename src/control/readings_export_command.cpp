#include "control/readings_export_command.h"

#include "plot/readings_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString chooseReadingsFile(QWidget *parent, const QString &suggested) {
    QFileDialog dialog(parent, QStringLiteral("Сохранить все отсчёты"), suggested,
                       QStringLiteral("Таблица CSV (*.csv)"));
    dialog.setObjectName(QStringLiteral("dlgSaveReadings"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

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

TReadingsExportCommand::TReadingsExportCommand(const TRunReadings &current, QWidget *window,
                                               QObject *parent)
    : QObject(parent), m_current(current) {
    m_chooseFile = [window](const QString &suggested) {
        return chooseReadingsFile(window, suggested);
    };
}

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
        if (m_showError)
            m_showError(QStringLiteral("Нет записанных отсчётов — сохранять нечего."));
        return;
    }
    const QString suggested = m_lastFolder.isEmpty()
                                  ? suggestedName(readings)
                                  : QDir(m_lastFolder).filePath(suggestedName(readings));
    const QString chosen = m_chooseFile ? m_chooseFile(suggested) : QString();
    if (chosen.isEmpty())
        return;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    QString problem = readingsexport::write(chosen, readings.readings(), run);
    if (problem.isEmpty())
        problem = readingsexport::writePeaks(chosen, readings, run);
    if (!problem.isEmpty() && m_showError)
        m_showError(problem);
}
