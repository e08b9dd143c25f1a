#pragma once

#include "control/run_commands.h"

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;
class QTableWidget;
class QWidget;
class TFreqStepper;
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
    };
    // Shows a modal warning with only a Cancel button and returns the
    // dialog's result. Tests replace it to run without a human.
    using WarningBox = std::function<int(const QString &text)>;

    static const QString kBadFrequenciesText;
    static const QString kDevicesMissingText;

    TRunSequencer(TAppState &state, const TRunCommands &commands, QTableWidget *grdTable,
                  QLineEdit *lblSkipIM, TFreqStepper &stepper, Links links,
                  QWidget *dialogParent = nullptr, QObject *parent = nullptr);

    void setWarningBox(WarningBox box) { m_warningBox = std::move(box); }

    // Reads the frequency cells of the header row into the frequency storage
    // and checks them: integers in 25 .. 1000000, ascending, whole kilohertz
    // above 999 Hz.
    bool ValidateFrequencies();

signals:
    // A run began: the frequencies and the skip count were taken, RunActive is 1.
    void runStarted();
    void runStopped();

public slots:
    void actStartExecute();
    void actStopExecute();

private:
    void warn(const QString &text);

    TAppState &m_state;
    TRunCommands m_actions;
    QTableWidget *m_grid;
    QLineEdit *m_lblSkipIM;
    TFreqStepper &m_stepper;
    Links m_links;
    WarningBox m_warningBox;
};
