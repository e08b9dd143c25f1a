#include "ui/classic_group_box.h"
#include "ui/device_log.h"
#include "ui/instrument_search_text.h"
#include "ui/main_window_ui.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("PortSettings", text);
}

constexpr int kRowTops[] = {14, 38, 62, 86, 110};
const char *const kRowCaptions[] = {"COM port", "Baud Rate", "Data bits", "Parity", "Stop Bits"};

struct ComboSpec {
    const char *name;
    QStringList items;
    int currentIndex; // -1: the text stands alone, no item selected
    const char *text;
};

const QStringList kDataBits = {"5", "6", "7", "8"};
const QStringList kParity = {"none", "odd", "even", "mark", "space"};
const QStringList kStopBits = {"1", "1.5", "2"};

// Five rows of caption and editable drop-down; only the port number (first row)
// can be changed by the user.
QGroupBox *buildPortGroup(QWidget *parent, const char *name, const QString &title, int width,
                          int comboX, const ComboSpec (&specs)[5], QComboBox *(&combos)[5]) {
    auto *group = new ClassicGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setFixedWidth(width);
    for (int row = 0; row < 5; ++row) {
        auto *label = new QLabel(QString::fromLatin1(kRowCaptions[row]), group);
        label->move(16, kRowTops[row] + 3);
        label->adjustSize();

        auto *combo = new QComboBox(group);
        combo->setObjectName(QString::fromLatin1(specs[row].name));
        combo->setEditable(true);
        // A typed port name is the box's text, not a new entry of its list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setGeometry(comboX, kRowTops[row], 67, 21);
        combo->addItems(specs[row].items);
        combo->setCurrentIndex(specs[row].currentIndex);
        combo->setEditText(QString::fromLatin1(specs[row].text));
        combo->setEnabled(row == 0);
        combo->setAccessibleName(title + QStringLiteral(": ") + label->text());
        label->setBuddy(combo);
        combos[row] = combo;
    }
    return group;
}

// Under the logs: the instrument search's button and progress, and the folder that holds
// options.ini, the journal and the ports links (a long path is cut, its tooltip is whole).
QWidget *buildSearchRow(MainWindowUi &ui, QWidget *parent) {
    auto *bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("pnlFindInstruments"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(6);

    ui.btnFindInstruments = new QPushButton(InstrumentSearchButtonText(false), bar);
    ui.btnFindInstruments->setObjectName(QStringLiteral("btnFindInstruments"));
    ui.btnFindInstruments->setToolTip(
        tr("Прослушать все последовательные порты и найти, к каким подключены "
                       "измеритель иммитанса и термометр"));
    row->addWidget(ui.btnFindInstruments);

    ui.pbFindInstruments = new QProgressBar(bar);
    ui.pbFindInstruments->setObjectName(QStringLiteral("pbFindInstruments"));
    ui.pbFindInstruments->setTextVisible(false);
    ui.pbFindInstruments->setFixedSize(90, 12);
    ui.pbFindInstruments->setAccessibleName(tr("Ход поиска приборов"));
    ui.pbFindInstruments->hide();
    row->addWidget(ui.pbFindInstruments);

    ui.lblDataFolder = new QLabel(bar);
    ui.lblDataFolder->setObjectName(QStringLiteral("lblDataFolder"));
    ui.lblDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui.lblDataFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(ui.lblDataFolder, 1);
    return bar;
}

} // namespace

QWidget *buildPortSettingsPanel(MainWindowUi &ui, QWidget *parent) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pnlComPortSettings"));
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    const ComboSpec tempSpecs[5] = {
        {"cmbPortTempNumber", {}, -1, ""},
        {"cmbPortTempBaud", {"9600", "57600", "115200", "", ""}, -1, "9600"},
        {"cmbPortTempDataBits", kDataBits, 3, "8"},
        {"cmbPortTempParity", kParity, 0, "none"},
        {"cmbPortTempStopBits", kStopBits, 0, "1"},
    };
    QComboBox *temp[5];
    row->addWidget(buildPortGroup(panel, "gpbPortTemp", tr("Температурный датчик"), 150,
                                  75, tempSpecs, temp));
    ui.cmbPortTempNumber = temp[0];
    ui.cmbPortTempBaud = temp[1];
    ui.cmbPortTempDataBits = temp[2];
    ui.cmbPortTempParity = temp[3];
    ui.cmbPortTempStopBits = temp[4];

    const ComboSpec imSpecs[5] = {
        {"cmbPortIMNumber", {}, -1, ""},
        {"cmbPortIMBaud",
         {"1200", "2400", "4800", "9600", "14400", "28800", "38400", "57600", "115200", "128000",
          "256000", ""},
         3,
         "9600"},
        {"cmbPortIMDataBits", kDataBits, 3, "8"},
        {"cmbPortIMParity", kParity, 0, "none"},
        {"cmbPortIMStopBits", kStopBits, 0, "1"},
    };
    QComboBox *im[5];
    row->addWidget(buildPortGroup(panel, "grbIM", tr("Измеритель иммитанса"), 153, 77,
                                  imSpecs, im));
    ui.cmbPortIMNumber = im[0];
    ui.cmbPortIMBaud = im[1];
    ui.cmbPortIMDataBits = im[2];
    ui.cmbPortIMParity = im[3];
    ui.cmbPortIMStopBits = im[4];

    auto *pnlLog = new QWidget(panel);
    pnlLog->setObjectName(QStringLiteral("pnlLog"));
    auto *logs = new QVBoxLayout(pnlLog);
    logs->setContentsMargins(0, 0, 0, 0);
    logs->setSpacing(0);
    ui.reLogIM = new DeviceLog(QStringLiteral("reLogIM"),
                               tr("Журнал измерителя иммитанса"), pnlLog);
    ui.reLogTemp =
        new DeviceLog(QStringLiteral("reLogTemp"), tr("Журнал термометра"), pnlLog);
    ui.reLogTemp->setFixedHeight(50);
    logs->addWidget(ui.reLogIM, 1);
    logs->addWidget(ui.reLogTemp);
    logs->addWidget(buildSearchRow(ui, pnlLog));
    row->addWidget(pnlLog, 1);
    return panel;
}
