#pragma once

#include "app/main_actions.h"
#include "app/main_options.h"
#include "app/main_timers.h"
#include "engine/run_clock.h"
#include "engine/run_notice.h"
#include "model/app_state.h"
#include "ui/main_window_ui.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class TAboutBox;
class TSerComPort;
class TMeterLink;
class TThermoLink;
class TAutoconnect;
class TSettingsBinding;
class TTablePreparation;
class TResultsGridController;
class TSaveCommand;
class TRunSequencer;
class TRunDriver;
class RunEngine;
class TReadingCapture;
class TJournalController;
class TPastRunsCommand;
class TInstrumentSearch;
class TPortAccessNotice;
class TChartController;
class TRelaxationController;
class TReadingsExportCommand;
class TRunProgress;
class TSampleCommand;
class TLinkWatch;
class TFullTableStop;
class TLastSetup;
class UserPrompts;

// frmMain: builds the window, its actions, menu and timers, and runs the
// start-up and shutdown sequences. The measurement logic lives in the
// controllers; each gets the few widgets it needs and owns its timers.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(const TMainOptions &options = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The window's widgets and actions: what the user sees and presses.
    const MainWindowUi &ui() const { return m_ui; }
    const MainActions &actions() const { return m_actions; }
    // What the controllers share beside the engine.
    TAppState &state() { return m_state; }

    // Where the run's desktop notices go (the desktop's notifications; tests
    // take them themselves).
    void setRunNoticeSink(const TRunNoticeSink &sink);

    // The About box actHelpAbout shows; without one it makes its own the first time.
    void setAboutBox(TAboutBox *aboutBox) { m_aboutBox = aboutBox; }

    // Stops the timers, asks for the settings to be saved, then quits the
    // application's event loop (exit code 0).
    void ShutDown();

    // The one place where a failure the user must know about is shown.
    void reportFailure(const QString &text);

signals:
    // Emitted once by ShutDown, after every timer has stopped.
    void saveSettingsRequested();

public slots:
    void actMainFormShowExecute();
    void actHelpAboutExecute();
    void actComPortAndLogVisibilityExecute();
    void actLogFileVisibilityExecute();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    // Each creates its subsystem's controllers and connects them to the
    // widgets, actions and timers; one file each (wiring_*.cpp).
    void createLinkControllers();
    void createPortControllers();
    void createTableControllers();
    void createRunControllers();
    void createJournalControllers();
    QString journalPath() const;
    bool mayClose();
    void createInstrumentControllers();
    void createChartControllers();
    void createSampleControllers();
    void createRunCareControllers();
    void collectTimers();
    void InitMainWindow();
    void buildMenu();
    void bindActions();

    TMainOptions m_options;
    std::unique_ptr<UserPrompts> m_dialogPrompts;
    UserPrompts *m_prompts = nullptr;
    TAppState m_state;
    SteadyRunClock m_steadyClock;
    RunEngine *m_engine = nullptr;
    TRunDriver *m_runDriver = nullptr;
    MainWindowUi m_ui;
    MainActions m_actions;
    MainTimers m_timers;
    TSerComPort *m_portIM = nullptr;
    TSerComPort *m_portTemp = nullptr;

    TMeterLink *m_meterLink = nullptr;
    TThermoLink *m_thermoLink = nullptr;
    TAutoconnect *m_autoconnect = nullptr;
    TSettingsBinding *m_settingsBinding = nullptr;
    TTablePreparation *m_tablePreparation = nullptr;
    TResultsGridController *m_gridController = nullptr;
    TSaveCommand *m_saveCommand = nullptr;
    TRunSequencer *m_runSequencer = nullptr;
    TReadingCapture *m_readingCapture = nullptr;
    TJournalController *m_journal = nullptr;
    TPastRunsCommand *m_pastRuns = nullptr;
    TInstrumentSearch *m_instrumentSearch = nullptr;
    TPortAccessNotice *m_portAccessNotice = nullptr;
    TChartController *m_chartController = nullptr;
    TRelaxationController *m_relaxation = nullptr;
    TReadingsExportCommand *m_readingsExport = nullptr;
    TRunProgress *m_runProgress = nullptr;
    TSampleCommand *m_sampleCommand = nullptr;
    TLinkWatch *m_linkWatch = nullptr;
    TFullTableStop *m_fullTableStop = nullptr;
    TLastSetup *m_lastSetup = nullptr;
    TAboutBox *m_aboutBox = nullptr;
};
