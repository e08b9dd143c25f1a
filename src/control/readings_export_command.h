#pragma once

#include "journal/journal_records.h"
#include "plot/run_description.h"
#include "plot/run_readings.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// "Сохранить все отсчёты...": every reading recorded in a run, one line
// each, in a comma-separated file that data tools read without settings.
// The measurement file of "Сохранить в.." stays as it is.
class TReadingsExportCommand : public QObject {
    Q_OBJECT
public:
    // Asks where to save, offering `suggested`; an empty name means cancelled.
    using FileChooser = std::function<QString(const QString &suggested)>;
    using ErrorNotice = std::function<void(const QString &text)>;
    // What the file says about the current run besides its readings.
    using RunDescriber = std::function<TRunDescription()>;

    // `current`: the readings of the current run, kept by the chart controller.
    TReadingsExportCommand(const TRunReadings &current, QWidget *window, QObject *parent = nullptr);

    // Tests replace the dialogs to run without a human.
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    void setErrorNotice(ErrorNotice notice) { m_showError = std::move(notice); }
    void setRunDescriber(RunDescriber describer) { m_describe = std::move(describer); }

public slots:
    // The readings of the current run.
    void actFileSaveReadingsExecute();
    // The readings of a run from the journal.
    void saveRun(const TJournalRun &run);

private:
    void save(const TRunReadings &readings, const TRunDescription &run);

    const TRunReadings &m_current;
    FileChooser m_chooseFile;
    ErrorNotice m_showError;
    RunDescriber m_describe;
    QString m_lastFolder;
};
