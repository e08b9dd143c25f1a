#pragma once

#include "journal/journal_records.h"
#include "plot/run_description.h"
#include "plot/run_readings.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;
class UserPrompts;

// "Сохранить все отсчёты...": every reading recorded in a run, one line
// each, in a comma-separated file that data tools read without settings.
// The measurement file of "Сохранить в.." stays as it is.
class TReadingsExportCommand : public QObject {
    Q_OBJECT
public:
    // What the file says about the current run besides its readings.
    using RunDescriber = std::function<TRunDescription()>;

    // `current`: the readings of the current run, kept by the chart controller.
    // `prompts` asks where to save and tells why it could not be.
    TReadingsExportCommand(const TRunReadings &current, UserPrompts &prompts,
                           QObject *parent = nullptr);

    void setRunDescriber(RunDescriber describer) { m_describe = std::move(describer); }

public slots:
    // The readings of the current run.
    void actFileSaveReadingsExecute();
    // The readings of a run from the journal.
    void saveRun(const TJournalRun &run);

private:
    void save(const TRunReadings &readings, const TRunDescription &run);

    const TRunReadings &m_current;
    UserPrompts &m_prompts;
    RunDescriber m_describe;
    QString m_lastFolder;
};
