#pragma once

#include "control/run_commands.h"
#include "ui/past_run_start_question.h"

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;
class QTableWidget;
class RunEngine;
class UserPrompts;
struct TAppState;

// Starts and stops a measurement run: checks the frequency row, sizes and
// titles the CSV table, and switches the commands between a run and idle.
class TRunSequencer : public QObject {
    Q_OBJECT
public:
    // What the run switches in the other subsystems.
    struct Links {
        std::function<void(bool enabled)> setKeypadEnabled;
        std::function<void(int tag)> setTableTag;
        // Throws when a port fails to open; the run only ever closes.
        std::function<void(bool value, int kind)> setLinkOpen;
        // Empties the table's readings, keeping its set points and frequencies.
        std::function<void()> emptyReadings;
    };

    TRunSequencer(TAppState &state, RunEngine &engine, const TRunCommands &commands,
                  QTableWidget *grdTable, QLineEdit *lblSkipIM, Links links, UserPrompts &prompts,
                  QObject *parent = nullptr);

    // Hands the frequency cells of the header row to the engine, which checks
    // them (integers in 25 .. 1000000, ascending, whole kilohertz above
    // 999 Hz) and sizes the CSV table by them when they pass.
    bool ValidateFrequencies();

signals:
    // A run began: the frequencies and the skip count were taken, the engine runs.
    void runStarted();
    void runStopped();

public slots:
    // A run whose readings are already in the journal (and maybe in a file)
    // is on the screen: the next start asks before it writes into it.
    void pastRunOpened() { m_pastRunOnScreen = true; }
    // A table of its own, with no run yet.
    void tablePrepared() { m_pastRunOnScreen = false; }

    void actStartExecute();
    void actStopExecute();

private:
    void warn(const QString &text);

    TAppState &m_state;
    RunEngine &m_engine;
    TRunCommands m_actions;
    QTableWidget *m_grid;
    QLineEdit *m_lblSkipIM;
    Links m_links;
    // Warns with only a Cancel button, and asks what a start does with a run
    // opened from the journal.
    UserPrompts &m_prompts;
    bool m_pastRunOnScreen = false;
};
