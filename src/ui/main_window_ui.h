#pragma once

// Whoever holds the window's parts may use the logs as what they are.
#include "ui/device_log.h"
#include "ui/file_log_view.h"

class DisplayPanel;
class KeypadView;
class MeterDisplayView;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class ResultsGridView;
class ThermoDisplayView;

// The port settings panel: what the autoconnection and the settings file read
// and fill for each of the two lines.
struct PortSettingsWidgets {
    QWidget *pnlComPortSettings = nullptr;
    QCheckBox *chbComPortAndLogVisibility = nullptr;
    QComboBox *cmbPortIMNumber = nullptr;
    QComboBox *cmbPortIMBaud = nullptr;
    QComboBox *cmbPortIMDataBits = nullptr;
    QComboBox *cmbPortIMParity = nullptr;
    QComboBox *cmbPortIMStopBits = nullptr;
    QComboBox *cmbPortTempNumber = nullptr;
    QComboBox *cmbPortTempBaud = nullptr;
    QComboBox *cmbPortTempDataBits = nullptr;
    QComboBox *cmbPortTempParity = nullptr;
    QComboBox *cmbPortTempStopBits = nullptr;
    // The instrument search: its button, the progress while it listens, and the folder the
    // settings live in.
    QPushButton *btnFindInstruments = nullptr;
    QProgressBar *pbFindInstruments = nullptr;
    QLabel *lblDataFolder = nullptr;
};

// The run parameters of the settings panel.
struct RunParameterWidgets {
    QWidget *pnlSettings = nullptr;
    QLineEdit *leTempInit = nullptr;
    QLineEdit *leTempFinal = nullptr;
    QLineEdit *leTempStep = nullptr;
    QLineEdit *leTempDiff = nullptr;
    QLineEdit *leFreqColCount = nullptr;
    QLineEdit *lblSkipIM = nullptr;
    QCheckBox *chbKeepFreq = nullptr;
};

// Every widget of the main window that code outside the layout touches, under
// the name the rest of the program knows it by. Built once by setupUi; the
// widgets belong to the central widget. The port settings and the run
// parameters are the views the controllers get (portSettings(), runParameters()).
struct MainWindowUi : PortSettingsWidgets, RunParameterWidgets {
    // Vertical stack, top to bottom.
    QWidget *pnlDevice = nullptr;
    FileLogView *reLogFile = nullptr;
    QWidget *pnlControlButtons = nullptr;
    QWidget *pnlTable = nullptr;

    // Group boxes of the run parameters (pnlSettings).
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;

    // Front panel replica.
    DisplayPanel *pnlDisplay = nullptr;
    MeterDisplayView *meterDisplay = nullptr;
    ThermoDisplayView *thermoDisplay = nullptr;
    KeypadView *pnlButtons = nullptr;
    QCheckBox *chbFileVisibility = nullptr;

    // Control bar.
    QPushButton *btnApplySettingsTempAndGrid = nullptr;
    QPushButton *btnStart = nullptr;
    QPushButton *btnStop = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QCheckBox *chbStopWhenFull = nullptr;

    // Device logs.
    DeviceLog *reLogIM = nullptr;
    DeviceLog *reLogTemp = nullptr;

    // Results.
    ResultsGridView *grdTable = nullptr;

    void setupUi(QWidget *central);

    const PortSettingsWidgets &portSettings() const { return *this; }
    const RunParameterWidgets &runParameters() const { return *this; }
};

// Builders of the blocks, each filling its part of the structure.
QWidget *buildSettingsPanel(MainWindowUi &ui, QWidget *parent);
QWidget *buildPortSettingsPanel(MainWindowUi &ui, QWidget *parent);
