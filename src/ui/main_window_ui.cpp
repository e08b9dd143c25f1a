#include "ui/main_window_ui.h"

#include "ui/display_panel.h"
#include "ui/keypad_view.h"
#include "ui/results_grid_view.h"
#include "ui/widget_helpers.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("MainWindow", text);
}

QWidget *namedPanel(QWidget *parent, const char *name) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

QCheckBox *addCheckBox(QWidget *parent, const char *name, const QString &caption, QRect geometry) {
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QPushButton *addCommandButton(QWidget *parent, const char *name, int x) {
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 8, 149, 25);
    return button;
}

QWidget *buildDevicePanel(MainWindowUi &ui, QWidget *parent) {
    QWidget *device = namedPanel(parent, "pnlDevice");
    device->setFixedHeight(202);
    auto *row = new QHBoxLayout(device);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    row->addWidget(buildSettingsPanel(ui, device));
    ui.pnlDisplay = new DisplayPanel(device);
    ui.meterDisplay = ui.pnlDisplay->meterDisplay();
    ui.thermoDisplay = ui.pnlDisplay->thermoDisplay();
    row->addWidget(ui.pnlDisplay, 1);

    ui.pnlButtons = new KeypadView(device);
    ui.pnlButtons->setFixedWidth(250);
    row->addWidget(ui.pnlButtons);

    ui.chbKeepFreq =
        addCheckBox(ui.pnlButtons, "chbKeepFreq",
                    tr("Сохранять частоты при очистке таблицы"), {16, 168, 230, 17});
    ui.chbKeepFreq->setChecked(true);
    uihelp::narrowToFit(ui.chbKeepFreq);
    ui.chbComPortAndLogVisibility =
        addCheckBox(ui.pnlButtons, "chbComPortAndLogVisibility", QString(), {16, 184, 193, 17});
    // Wider than the panel on purpose: only its box shows at the panel's edge.
    ui.chbFileVisibility =
        addCheckBox(ui.pnlButtons, "chbFileVisibility", QString(), {214, 185, 97, 17});
    ui.chbFileVisibility->setAccessibleName(tr("Показать журнал сохранения"));
    return device;
}

QWidget *buildControlBar(MainWindowUi &ui, QWidget *parent) {
    QWidget *bar = namedPanel(parent, "pnlControlButtons");
    bar->setFixedHeight(39);
    ui.btnApplySettingsTempAndGrid = addCommandButton(bar, "btnApplySettingsTempAndGrid", 1);
    ui.btnStart = addCommandButton(bar, "btnStart", 156);
    ui.btnStop = addCommandButton(bar, "btnStop", 311);
    ui.BitBtn1 = addCommandButton(bar, "BitBtn1", 466);
    // Two lines beside the buttons, in the room the window has there.
    ui.chbStopWhenFull = addCheckBox(
        bar, "chbStopWhenFull", tr("Остановить и сохранить,\nкогда таблица заполнена"),
        {621, 4, 150, 31});
    ui.chbStopWhenFull->setAccessibleName(
        tr("Остановить и сохранить, когда таблица заполнена"));
    uihelp::narrowToFit(ui.chbStopWhenFull);
    return bar;
}

} // namespace

void MainWindowUi::setupUi(QWidget *central) {
    auto *stack = new QVBoxLayout(central);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    pnlDevice = buildDevicePanel(*this, central);
    stack->addWidget(pnlDevice);

    reLogFile = new FileLogView(central);
    reLogFile->setObjectName(QStringLiteral("reLogFile"));
    reLogFile->setFixedHeight(118);
    reLogFile->setAccessibleName(tr("Журнал сохранения"));
    reLogFile->hide();
    stack->addWidget(reLogFile);

    pnlControlButtons = buildControlBar(*this, central);
    stack->addWidget(pnlControlButtons);

    pnlComPortSettings = buildPortSettingsPanel(*this, central);
    pnlComPortSettings->setFixedHeight(168);
    pnlComPortSettings->hide();
    stack->addWidget(pnlComPortSettings);

    pnlTable = namedPanel(central, "pnlTable");
    auto *tableLayout = new QVBoxLayout(pnlTable);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    grdTable = new ResultsGridView(pnlTable);
    // The grid gives up its height to the blocks above it, down to nothing.
    grdTable->setMinimumSize(1, 1);
    tableLayout->addWidget(grdTable);
    stack->addWidget(pnlTable, 1);
}
