#pragma once

#include "app/app_state.h"
#include "app/main_actions.h"
#include "app/main_options.h"
#include "app/main_timers.h"
#include "ui/main_window_ui.h"

#include <QMainWindow>

class TAboutBox;
class TSerComPort;

// frmMain: builds the window, its actions, menu and timers, and runs the
// start-up and shutdown sequences. The measurement logic lives in the
// controllers, which reach the widgets, actions and timers through the
// accessors below.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(const TMainOptions &options = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    const MainWindowUi &ui() const { return m_ui; }
    const MainActions &actions() const { return m_actions; }
    const MainTimers &timers() const { return m_timers; }
    const TMainOptions &options() const { return m_options; }

    // The state the links and the run share, and the two serial lines.
    TAppState &state() { return m_state; }
    TSerComPort *portIM() const { return m_portIM; }
    TSerComPort *portTemp() const { return m_portTemp; }

    // The About box is created after the window and shown by actHelpAbout.
    void setAboutBox(TAboutBox *aboutBox) { m_aboutBox = aboutBox; }

    // Stops the six timers, asks for the settings to be saved, then quits the
    // application's event loop (exit code 0).
    void ShutDown();

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
    void InitMainWindow();
    void buildMenu();
    void bindActions();
    void writeCell(int row, int column, const QString &text);

    TMainOptions m_options;
    TAppState m_state;
    MainWindowUi m_ui;
    MainActions m_actions;
    MainTimers m_timers;
    TSerComPort *m_portIM = nullptr;
    TSerComPort *m_portTemp = nullptr;
    TAboutBox *m_aboutBox = nullptr;
};
