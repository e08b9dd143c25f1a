#include "app/main_window.h"

#include "base/number_format.h"
#include "control/autoconnect.h"
#include "control/chart_controller.h"
#include "control/device_port.h"
#include "control/journal_controller.h"
#include "control/last_setup.h"
#include "control/meter_link.h"
#include "control/pending_events.h"
#include "control/run_driver.h"
#include "control/save_command.h"
#include "control/settings_binding.h"
#include "control/thermo_link.h"
#include "control/timers.h"
#include "serial/ser_com_port.h"
#include "settings/data_folder.h"
#include "ui/about_box.h"
#include "ui/dialog_prompts.h"
#include "ui/keypad_view.h"
#include "ui/results_grid_view.h"
#include "ui/ui_fonts.h"
#include "ui/widget_helpers.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr QSize kClientSize(772, 590);
} // namespace

namespace {
QChar separatorOf(const TMainOptions &options) {
    return options.decimalSeparator.isNull() ? numfmt::systemDecimalSeparator()
                                             : options.decimalSeparator;
}
} // namespace

TfrmMain::TfrmMain(const TMainOptions &options, QWidget *parent)
    : QMainWindow(parent), m_options(options), m_state(separatorOf(options)) {
    if (!m_options.prompts)
        m_dialogPrompts = std::make_unique<DialogPrompts>(this);
    m_prompts = m_options.prompts ? m_options.prompts : m_dialogPrompts.get();
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate() {
    setObjectName(QStringLiteral("frmMain"));
    setFont(uifont::pixelFont(uifont::Face::Tahoma, 11));

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    m_ui.setupUi(central);
    setCentralWidget(central);

    m_actions.create(this);
    buildMenu();
    bindActions();
    m_portIM = makeDevicePort("portIM", m_options.portsFolder, this);
    m_portTemp = makeDevicePort("portTemp", m_options.portsFolder, this);
    createLinkControllers();
    createPortControllers();
    createTableControllers();
    createRunControllers();
    createJournalControllers();
    createInstrumentControllers();
    createChartControllers();
    createSampleControllers();
    createRunCareControllers();
    collectTimers();

    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height() +
                                    statusBar()->sizeHint().height());
    InitMainWindow();
}

void TfrmMain::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("mnmMain"));
    QMenu *file = menuBar()->addMenu(tr("Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(m_actions.actFileSaveTo);
    file->addAction(m_actions.actFileSaveReadings);
    file->addAction(m_actions.actPastRuns);
    file->addAction(m_actions.actAutosaveFolder);
    file->addSeparator();
    file->addAction(m_actions.actSample);
    QMenu *view = menuBar()->addMenu(tr("Вид"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(m_actions.actShowChart);
    QMenu *help = menuBar()->addMenu(tr("Справка"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(m_actions.actHelpAbout);
}

void TfrmMain::bindActions() {
    using uihelp::bindButton;
    bindButton(m_ui.btnApplySettingsTempAndGrid, m_actions.actApplySettiingsTempAndGrid, true);
    bindButton(m_ui.btnStart, m_actions.actStart, true);
    bindButton(m_ui.btnStop, m_actions.actStop, true);
    bindButton(m_ui.BitBtn1, m_actions.actFileSaveTo, true);
    bindButton(m_ui.chbComPortAndLogVisibility, m_actions.actComPortAndLogVisibility, true);
    bindButton(m_ui.chbFileVisibility, m_actions.actLogFileVisibility, false);

    using Key = KeypadView::Key;
    const std::pair<Key, QAction *> keys[] = {
        {Key::F1, m_actions.actCMDF1},      {Key::F2, m_actions.actCMDF2},
        {Key::F3, m_actions.actCMDF3},      {Key::F4, m_actions.actCMDF4},
        {Key::K1, m_actions.actCMD1C},      {Key::K2, m_actions.actCMD2L},
        {Key::K3, m_actions.actCMD3R},      {Key::K4, m_actions.actCMD4DQ},
        {Key::K5, m_actions.actCMD5UP},     {Key::K6, m_actions.actCMD6Menu},
        {Key::K7, m_actions.actCMD7LEFT},   {Key::K8, m_actions.actCMD8Enter},
        {Key::K9, m_actions.actCMD9Right},  {Key::K10, m_actions.actCMD10XX},
        {Key::K11, m_actions.actCMD11DOWN}, {Key::K12, m_actions.actCMD12X3},
    };
    for (const auto &[key, action] : keys)
        m_ui.pnlButtons->bindAction(key, action);

    connectTriggers<TfrmMain>(
        this, {{m_actions.actMainFormShow, &TfrmMain::actMainFormShowExecute},
               {m_actions.actHelpAbout, &TfrmMain::actHelpAboutExecute},
               {m_actions.actComPortAndLogVisibility, &TfrmMain::actComPortAndLogVisibilityExecute},
               {m_actions.actLogFileVisibility, &TfrmMain::actLogFileVisibilityExecute}});
}

void TfrmMain::collectTimers() {
    m_timers.tmrRun = m_runDriver->tmrRun();
    m_timers.tmrAutoconnectToDevice = m_autoconnect->tmrAutoconnectToDevice();
}

// Errors escaping any handler are logged and dropped by the application object
// (see Application::notify), so the sequence starts with painting the keypad.
void TfrmMain::InitMainWindow() {
    m_ui.pnlButtons->PaintKeypad();
    m_settingsBinding->LoadSettings();
    LetPendingEventsRun();
    m_lastSetup->settingsLoaded();
    // The chart comes back if it was open, and a run the last session lost is
    // offered back, once the window is up.
    m_journal->setFormerJournal(
        FormerJournalPath(QCoreApplication::applicationDirPath(), journalPath()));
    m_journal->open(journalPath());
    QMetaObject::invokeMethod(m_chartController, &TChartController::reopenIfWasOpen,
                              Qt::QueuedConnection);
    setTimerEnabled(m_timers.tmrAutoconnectToDevice, true);
}

void TfrmMain::ShutDown() {
    for (QTimer *timer : m_timers.inShutdownOrder())
        setTimerEnabled(timer, false);
    emit saveSettingsRequested();
    m_journal->close();
    QCoreApplication::quit();
}

void TfrmMain::reportFailure(const QString &text) {
    m_prompts->notice(TPromptIcon::Warning, text);
}

// The application carries the program's name already (Application names it).
void TfrmMain::actMainFormShowExecute() {
    setWindowTitle(ProgramName());
}

// Built when first asked for: its logo is drawn as it is built.
void TfrmMain::actHelpAboutExecute() {
    if (!m_aboutBox)
        m_aboutBox = new TAboutBox(this);
    m_aboutBox->exec();
}

void TfrmMain::actComPortAndLogVisibilityExecute() {
    m_autoconnect->actComPortAndLogVisibilityExecute();
}

void TfrmMain::actLogFileVisibilityExecute() {
    m_ui.reLogFile->setVisible(m_ui.chbFileVisibility->isChecked());
}

void TfrmMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    m_actions.actMainFormShow->trigger();
}

// Closing with readings that are in no file asks first (by the menu, the
// window's close button or a logout alike); with none it stays silent.
void TfrmMain::closeEvent(QCloseEvent *event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    ShutDown();
    event->accept();
}

bool TfrmMain::mayClose() {
    if (!m_journal->hasUnsavedReadings())
        return true;
    enum { Save, CloseWithoutSaving, Cancel };
    const QVector<TPromptChoice> choices = {
        {TPromptChoice::Role::Accept, tr("Сохранить...")},
        {TPromptChoice::Role::Destructive, tr("Закрыть без сохранения")},
        {TPromptChoice::Role::Reject, tr("Отмена")}};
    switch (m_prompts->question(TPromptIcon::Warning,
                                tr("Результаты измерений не сохранены в файл. Сохранить их "
                                   "перед закрытием программы?"),
                                choices, Save)) {
    case Save:
        m_saveCommand->actFileSaveToExecute();
        return !m_journal->hasUnsavedReadings();
    case CloseWithoutSaving:
        return true;
    default:
        return false;
    }
}
