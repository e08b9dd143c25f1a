#pragma once

#include "engine/run_notice.h"
#include "run/table_completion.h"

#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class QTableWidget;
class RunClock;
class TRunReadings;
class UserPrompts;
class RunEngine;

// What happens when a run fills the last cell of its table: the desktop is
// told, and when the user ticked "Остановить и сохранить, когда таблица
// заполнена" the run stops and its measurement file is saved, without a
// dialog, under a name of its own (the sample or the table, and the date;
// never over another file) in a folder the user chose once. The choice and
// the folder are kept in a small file beside the settings.
class TFullTableStop : public QObject {
    Q_OBJECT
public:
    struct Actions {
        // Stops the run as "Остановить измерения" does.
        std::function<void()> stopRun;
        // Saves the run's table to the file as the save command does (the
        // journal notes the file); returns why it failed, empty when it did not.
        std::function<QString(const QString &fileName)> saveTo;
        // The sample's name, or empty for a run without one.
        std::function<QString()> sampleName;
    };

    // `readings` and `grid` tell how many cells are filled of how many;
    // `choicesFile` keeps the check box and the folder ("" keeps nothing);
    // `prompts` asks for the folder and tells of a save that failed.
    TFullTableStop(const RunEngine &engine, const TRunReadings &readings, const QTableWidget *grid,
                   const RunClock &clock, QCheckBox *chbStopWhenFull, Actions actions,
                   const QString &choicesFile, UserPrompts &prompts, QObject *parent = nullptr);

    void setNoticeSink(TRunNoticeSink sink) { m_notify = std::move(sink); }

    bool stopWhenFull() const;
    const QString &folder() const { return m_folder; }

public slots:
    // A reading was recorded or a cell emptied.
    void readingsChanged();
    // A table was laid out, loaded or started on: what it holds is no news.
    void tableTakenUp();
    // Asks for the folder again ("Папка для автосохранения...").
    void chooseFolder();

private:
    int filledCells() const;
    int totalCells() const;
    void stopAndSave();
    void checkBoxToggled(bool checked);
    void keepChoices() const;

    const RunEngine &m_engine;
    const TRunReadings &m_readings;
    const QTableWidget *m_grid;
    const RunClock &m_clock;
    QCheckBox *m_checkBox;
    Actions m_actions;
    QString m_choicesFile;
    UserPrompts &m_prompts;
    QString m_folder;
    TTableCompletion m_completion;
    TRunNoticeSink m_notify;
};
