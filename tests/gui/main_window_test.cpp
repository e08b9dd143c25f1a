// The main window as a user meets it: blocks and their stacking, captions and
// start states, timers, shutdown order, the About box and what assistive
// technology reads out.
#include "test_window.h"
#include "engine/run_engine.h"
#include "ui/about_box.h"
#include "ui/display_panel.h"
#include "ui/keypad_view.h"
#include "ui/meter_display_view.h"
#include "ui/results_grid_view.h"
#include "ui/typing_limit.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // No settings file: the window starts from the defaults and writes
        // nothing beside the test program.
        TMainOptions options;
        options.settingsPath = settingsDir.filePath(QStringLiteral("options.ini"));
        options.decimalSeparator = QLatin1Char(',');
        window = std::make_unique<TestWindow>(options);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        for (QTimer *timer : window->findChildren<QTimer *>())
            timer->stop();
    }

    const MainWindowUi &ui() const { return window->ui(); }
    const MainActions &act() const { return window->actions(); }

    // Top and height of a block inside the client area.
    static std::pair<int, int> band(const QWidget *w) { return {w->y(), w->height()}; }

    QTemporaryDir settingsDir;
    std::unique_ptr<TestWindow> window;
};

QString accessibleName(QObject *object) {
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

TEST_F(MainWindowTest, ClientAreaStacksVisibleBlocksAndGridTakesTheRest) {
    EXPECT_EQ(window->centralWidget()->size(), QSize(772, 590));
    EXPECT_FALSE(ui().reLogFile->isVisible());
    EXPECT_FALSE(ui().pnlComPortSettings->isVisible());
    EXPECT_EQ(band(ui().pnlDevice), std::make_pair(0, 202));
    EXPECT_EQ(band(ui().pnlControlButtons), std::make_pair(202, 39));
    EXPECT_EQ(band(ui().pnlTable), std::make_pair(241, 349));
    EXPECT_EQ(ui().grdTable->height(), 349);
}

// A first start prepares no table (the column count is 10); the grid area still
// shows an empty grid with its header column and row, not a blank field.
TEST_F(MainWindowTest, BeforeTheFirstTableTheGridShowsEmptyCells) {
    ASSERT_EQ(ui().leFreqColCount->text(), QStringLiteral("10"));
    ResultsGridView *grid = ui().grdTable;
    EXPECT_EQ(grid->rowCount(), ResultsGridView::InitialRowCount);
    EXPECT_EQ(grid->columnCount(), ResultsGridView::InitialColumnCount);
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            EXPECT_EQ(grid->item(r, c), nullptr) << r << "," << c;
    EXPECT_TRUE(grid->frozenView()->isVisible());
}

TEST_F(MainWindowTest, VisibilityBoxesInsertTheirBlocksInStackOrder) {
    ui().chbComPortAndLogVisibility->click();
    QApplication::processEvents();
    EXPECT_EQ(band(ui().pnlComPortSettings), std::make_pair(241, 168));
    EXPECT_EQ(band(ui().pnlTable), std::make_pair(409, 349 - 168));

    ui().chbFileVisibility->click();
    QApplication::processEvents();
    EXPECT_EQ(band(ui().reLogFile), std::make_pair(202, 118));
    EXPECT_EQ(band(ui().pnlControlButtons), std::make_pair(320, 39));
    EXPECT_EQ(band(ui().pnlComPortSettings), std::make_pair(359, 168));
    EXPECT_EQ(band(ui().pnlTable), std::make_pair(527, 349 - 168 - 118));

    ui().chbComPortAndLogVisibility->click();
    ui().chbFileVisibility->click();
    QApplication::processEvents();
    EXPECT_FALSE(ui().pnlComPortSettings->isVisible());
    EXPECT_FALSE(ui().reLogFile->isVisible());
    EXPECT_EQ(band(ui().pnlTable), std::make_pair(241, 349));
}

TEST_F(MainWindowTest, WideningMovesRightAnchoredDisplayLabelsOnly) {
    MeterDisplayView *meter = ui().meterDisplay;
    using F = MeterDisplayView::Field;
    const int limitX = meter->label(F::Limit)->x();
    const int offsetX = meter->label(F::Offset)->x();
    const int valueX = meter->label(F::RLCValue)->x();
    const int meterWidth = meter->width();
    QLabel *caption = ui().pnlDisplay->modelCaption();
    const QPoint captionAt = caption->pos();

    window->resize(window->width() + 100, window->height() + 40);
    QApplication::processEvents();

    EXPECT_EQ(meter->width(), meterWidth + 100);
    EXPECT_EQ(meter->label(F::Limit)->x(), limitX + 100);
    EXPECT_EQ(meter->label(F::Offset)->x(), offsetX + 100);
    EXPECT_EQ(meter->label(F::RLCValue)->x(), valueX);
    EXPECT_EQ(caption->pos(), captionAt + QPoint(100, 0)) << "pnlDevice keeps its height";
    EXPECT_EQ(ui().pnlButtons->width(), 250);
    EXPECT_EQ(ui().pnlSettings->width(), 150);
}

TEST_F(MainWindowTest, NarrowingStopsAtTheFrontPanelMinimum) {
    window->resize(500, window->height());
    QApplication::processEvents();
    EXPECT_GE(ui().pnlDisplay->width(), 300);
    EXPECT_EQ(ui().pnlDisplay->x(), 150);
}

TEST_F(MainWindowTest, ActionsStartEnabledExceptStopAndSave) {
    for (QAction *action : window->findChildren<QAction *>()) {
        const QString name = action->objectName();
        if (!name.startsWith(QLatin1String("act")))
            continue;
        const bool disabledAtStart =
            name == QLatin1String("actStop") || name == QLatin1String("actFileSaveTo");
        EXPECT_EQ(action->isEnabled(), !disabledAtStart) << name.toStdString();
    }
    EXPECT_FALSE(ui().btnStop->isEnabled());
    EXPECT_FALSE(ui().BitBtn1->isEnabled());
    EXPECT_TRUE(ui().btnStart->isEnabled());

    act().actStop->setEnabled(true);
    EXPECT_TRUE(ui().btnStop->isEnabled()) << "buttons follow their actions";
}

TEST_F(MainWindowTest, ButtonsAndMenuShowTheirActionsCaptions) {
    const std::pair<QAbstractButton *, const char *> buttons[] = {
        {ui().btnApplySettingsTempAndGrid, "Подготовить таблицу"},
        {ui().btnStart, "Начать измерения"},
        {ui().btnStop, "Остановить измерения"},
        {ui().BitBtn1, "Сохранить в.."},
        {ui().chbComPortAndLogVisibility, "Показать настройки портов и лог"},
        {ui().chbKeepFreq, "Сохранять частоты при очистке таблицы"},
    };
    for (const auto &[button, caption] : buttons)
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    for (QPushButton *b :
         {ui().btnApplySettingsTempAndGrid, ui().btnStart, ui().btnStop, ui().BitBtn1})
        EXPECT_EQ(b->geometry().size(), QSize(149, 25));

    EXPECT_TRUE(ui().chbKeepFreq->isChecked());
    EXPECT_FALSE(ui().chbComPortAndLogVisibility->isChecked());
    EXPECT_FALSE(ui().chbFileVisibility->isChecked());

    QStringList menus;
    for (QAction *menu : window->menuBar()->actions()) {
        QStringList items;
        for (QAction *item : menu->menu()->actions())
            items << item->text();
        menus << menu->text() + QLatin1Char(':') + items.join(QLatin1Char(','));
    }
    EXPECT_EQ(menus,
              QStringList({"Файл:Сохранить в..,Сохранить все отсчёты...,Прошлые измерения...,"
                           "Папка для автосохранения...,,Образец...",
                           "Вид:График...", "Справка:О программе"}));
}

TEST_F(MainWindowTest, RunParameterEditsAndTheirLabels) {
    struct Edit {
        QLineEdit *edit;
        const char *name;
        const char *label;
        QRect box;
        int maxLength;
        const char *text;
    };
    const Edit edits[] = {
        {ui().leTempInit, "leTempInit", "Начальная", {77, 15, 65, 21}, 6, "-50"},
        {ui().leTempFinal, "leTempFinal", "Конечная", {77, 42, 65, 21}, 6, "30"},
        {ui().leTempStep, "leTempStep", "Шаг", {77, 69, 65, 21}, 6, "1"},
        {ui().leTempDiff, "leTempDiff", "Погрешность", {77, 96, 65, 21}, 6, "0,3"},
        {ui().leFreqColCount, "leFreqColCount", "Столбцов", {77, 15, 23, 21}, 2, "10"},
        {ui().lblSkipIM, "lblSkipIM", "Пропустить", {77, 42, 23, 21}, 2, "7"},
    };
    for (const Edit &e : edits) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.edit->objectName(), QLatin1String(e.name));
        EXPECT_EQ(e.edit->geometry(), e.box);
        const auto *limit = qobject_cast<const TypingLimit *>(e.edit->validator());
        ASSERT_TRUE(limit) << "no typing limit";
        EXPECT_EQ(limit->maxLength(), e.maxLength);
        EXPECT_EQ(e.edit->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(accessibleName(e.edit), QString::fromUtf8(e.label));
        // The caption sits at the box's left and is fully inside its group.
        const auto labels = e.edit->parentWidget()->findChildren<QLabel *>();
        const auto it = std::find_if(labels.begin(), labels.end(),
                                     [&](QLabel *l) { return l->buddy() == e.edit; });
        ASSERT_NE(it, labels.end());
        EXPECT_EQ((*it)->text(), QString::fromUtf8(e.label));
        EXPECT_LT((*it)->geometry().right(), e.box.left());
        EXPECT_GE((*it)->x(), 0);
    }
}

TEST_F(MainWindowTest, PortComboBoxesStartWithTheirItemsAndOnlyNumbersEnabled) {
    struct Combo {
        QComboBox *box;
        bool enabled;
        QStringList items;
        const char *text;
        int index;
    };
    const QStringList bits = {"5", "6", "7", "8"};
    const QStringList parity = {"none", "odd", "even", "mark", "space"};
    const QStringList stop = {"1", "1.5", "2"};
    const QStringList imBaud = {"1200",  "2400",  "4800",   "9600",   "14400",  "28800",
                                "38400", "57600", "115200", "128000", "256000", ""};
    const Combo combos[] = {
        {ui().cmbPortTempNumber, true, {}, "1", -1},
        {ui().cmbPortTempBaud, false, {"9600", "57600", "115200", "", ""}, "9600", -1},
        {ui().cmbPortTempDataBits, false, bits, "8", 3},
        {ui().cmbPortTempParity, false, parity, "none", 0},
        {ui().cmbPortTempStopBits, false, stop, "1", 0},
        {ui().cmbPortIMNumber, true, {}, "1", -1},
        {ui().cmbPortIMBaud, false, imBaud, "9600", 3},
        {ui().cmbPortIMDataBits, false, bits, "8", 3},
        {ui().cmbPortIMParity, false, parity, "none", 0},
        {ui().cmbPortIMStopBits, false, stop, "1", 0},
    };
    for (const Combo &c : combos) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        QStringList items;
        for (int i = 0; i < c.box->count(); ++i)
            items << c.box->itemText(i);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(c.box->isEnabled(), c.enabled);
        EXPECT_TRUE(c.box->isEditable());
        EXPECT_EQ(c.box->currentText(), QLatin1String(c.text));
        EXPECT_EQ(c.box->currentIndex(), c.index);
    }
}

// Before a port opens only the watchdogs count (they turn a missing
// instrument's panel red) and the automatic connection ticks.
TEST_F(MainWindowTest, TimersHaveTheirPeriodsAndOnlyWatchdogsAndAutoconnectRun) {
    const RunPeriods periods = window->engine().periods();
    EXPECT_EQ(periods.DisplayRefreshMs, 200);
    EXPECT_EQ(periods.WatchdogMs, 3000);
    EXPECT_EQ(periods.StepMs, 250);
    for (const LinkKind kind : {LinkKind::Meter, LinkKind::Thermometer}) {
        EXPECT_FALSE(window->engine().refreshDueMs(kind));
        EXPECT_TRUE(window->engine().watchdogDueMs(kind));
    }
    auto *run = window->findChild<QTimer *>(QStringLiteral("tmrRun"));
    ASSERT_NE(run, nullptr);
    EXPECT_TRUE(run->isActive());
    auto *tick = window->findChild<QTimer *>(QStringLiteral("tmrAutoconnectToDevice"));
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->interval(), 3000);
    EXPECT_TRUE(tick->isActive());
}

TEST_F(MainWindowTest, CloseStopsEveryTimerBeforeSettingsAreSaved) {
    const QList<QTimer *> timers = window->findChildren<QTimer *>();
    ASSERT_EQ(timers.size(), 2);
    for (QTimer *timer : timers)
        timer->start();
    int saves = 0;
    QStringList runningAtSave;
    QObject::connect(window.get(), &TfrmMain::saveSettingsRequested, [&] {
        ++saves;
        for (QTimer *timer : timers)
            if (timer->isActive())
                runningAtSave << timer->objectName();
    });

    window->close();

    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(runningAtSave.isEmpty()) << runningAtSave.join(' ').toStdString();
}

// The application's name (message boxes' titles) is the Application's, which these
// tests do not build; the window's caption is the window's own.
TEST_F(MainWindowTest, ShowingSetsTheProgramTitle) {
    EXPECT_EQ(window->windowTitle(), QLatin1String("Utility for Tamrel"));
}

TEST_F(MainWindowTest, AboutBoxShowsTheProgramNameModallyAndCanBeShownAgain) {
    TAboutBox about(window.get());
    window->setAboutBox(&about);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.size(), QSize(486, 161));

    for (int round = 0; round < 2; ++round) {
        QString shownName;
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            shownName = about.productName()->text();
            wasModal = QApplication::activeModalWidget() == &about;
            about.reject();
        });
        act().actHelpAbout->trigger();
        EXPECT_EQ(shownName, QLatin1String("Utility for Tamrel"));
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(MainWindowTest, ControlsCarryNamesForAssistiveTechnology) {
    const std::pair<QObject *, const char *> named[] = {
        {ui().btnStart, "Начать измерения"},
        {ui().chbComPortAndLogVisibility, "Показать настройки портов и лог"},
        {ui().chbKeepFreq, "Сохранять частоты при очистке таблицы"},
        {ui().meterDisplay->label(MeterDisplayView::Field::Limit), "A100kOm"},
        {ui().pnlDisplay->modelCaption(), "Измеритель иммитанса Tamrel"},
    };
    for (const auto &[object, name] : named)
        EXPECT_EQ(accessibleName(object), QString::fromUtf8(name));
    EXPECT_FALSE(accessibleName(ui().chbFileVisibility).isEmpty());
    EXPECT_FALSE(accessibleName(ui().cmbPortIMNumber).isEmpty());

    QMenu *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(help);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->childCount(), 1);
    EXPECT_EQ(menu->child(0)->text(QAccessible::Name), QStringLiteral("О программе"));
}

} // namespace
