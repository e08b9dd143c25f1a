// A run that looks after itself, on the simulated bench with a clock the test
// advances: a full table stops the run and saves it under a name of its own,
// a silent meter is said in the status bar, on the desktop and in the
// journal, and a restart brings back the newest run's setup.
#include "instruments_support.h"

#include "control/full_table_stop.h"
#include "control/journal_controller.h"
#include "control/link_watch.h"
#include "control/past_runs_command.h"
#include "control/readings_export_command.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "journal/run_journal.h"
#include "sim_meter.h"
#include "sim_thermometer.h"
#include "test_window.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"
#include "ui/past_runs_dialog.h"
#include "ui/results_grid_view.h"
#include "ui/run_notice_texts.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Kind = TRunNotice::Kind;

const QDateTime kStart(QDate(2026, 12, 11), QTime(3, 7, 30));

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RunCareTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (window)
            for (QTimer *timer : window->findChildren<QTimer *>())
                timer->stop();
    }
    void openWindow() {
        TMainOptions options = bench.windowOptions();
        options.runClock = &clock;
        window = std::make_unique<TestWindow>(options);
        window->setRunNoticeSink([this](const TRunNotice &notice) { notices << notice; });
    }
    const MainWindowUi &ui() const { return window->ui(); }
    QString statusText(const char *label) const {
        const auto *l = window->statusBar()->findChild<QLabel *>(QLatin1String(label));
        return l && l->isVisibleTo(window.get()) ? l->text() : QString();
    }
    QString cell(int row, int column) const {
        const QTableWidgetItem *item = ui().grdTable->item(row, column);
        return item ? item->text() : QString();
    }
    // A table 20 .. lastSetPoint at 100 and 1000 Hz, one settling frame.
    void prepareTable(const char *lastSetPoint) {
        ui().leTempInit->setText(QStringLiteral("20"));
        ui().leTempFinal->setText(QLatin1String(lastSetPoint));
        ui().leTempStep->setText(QStringLiteral("1"));
        ui().leTempDiff->setText(QStringLiteral("0,4"));
        ui().leFreqColCount->setText(QStringLiteral("2"));
        window->actions().actApplySettiingsTempAndGrid->trigger();
        ui().grdTable->setItem(0, 2, new QTableWidgetItem(QStringLiteral("100")));
        ui().grdTable->setItem(0, 3, new QTableWidgetItem(QStringLiteral("1000")));
        ui().lblSkipIM->setText(QStringLiteral("1"));
    }
    bool startRun() {
        const QColor linkOk(panelcolor::LinkOk);
        if (!waitUntil([&] {
                return window->engine().portsOpen() && ui().meterDisplay->panelColor() == linkOk &&
                       ui().thermoDisplay->panelColor() == linkOk &&
                       window->actions().actStart->isEnabled();
            }))
            return false;
        window->actions().actStart->trigger();
        return window->engine().isRunning();
    }
    // Moves the clock on a second at a time, each second with a thermometer
    // line stamped by it, so that only the meter falls silent.
    void advanceSeconds(int seconds) {
        for (int s = 0; s < seconds; ++s) {
            clock.advance(1000);
            int lines = 0;
            const QMetaObject::Connection counting = QObject::connect(
                window->thermoLink(), &TThermoLink::validLineReceived, [&] { ++lines; });
            ASSERT_TRUE(waitUntil([&] { return lines > 0; }));
            QObject::disconnect(counting);
        }
        window->linkWatch()->refresh();
    }

    SimulatedBench bench;
    ManualRunClock clock{kStart};
    std::unique_ptr<TestWindow> window;
    QVector<TRunNotice> notices;
};

TEST_F(RunCareTest, AFullTableStopsTheRunAndIsSavedBesideAnEarlierFileOfTheSameName) {
    bench.thermometer().setProgramme(TemperatureProgramme::hold(20.0));
    bench.writeSettings();
    const QString folder = bench.folder() + QStringLiteral("/measurements");
    {
        QSettings choices(bench.folder() + QStringLiteral("/run.ini"), QSettings::IniFormat);
        choices.setValue(QStringLiteral("StopAndSaveWhenFull"), true);
        choices.setValue(QStringLiteral("AutosaveFolder"), folder);
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString earlier = folder + QStringLiteral("/Таблица от 20 до 20 °C 2026-12-11 03-07.csv");
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }

    openWindow();
    EXPECT_TRUE(ui().chbStopWhenFull->isChecked()) << "the choice is kept between starts";
    prepareTable("20");
    ASSERT_TRUE(startRun());
    ASSERT_TRUE(waitUntil([&] { return !window->engine().isRunning(); }, 30000))
        << "the run must stop by itself";

    const QString saved =
        folder + QStringLiteral("/Таблица от 20 до 20 °C 2026-12-11 03-07 (2).csv");
    EXPECT_EQ(readFile(earlier), "earlier");
    const QByteArray bytes = readFile(saved);
    EXPECT_TRUE(bytes.startsWith("Cp;\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("t;100;1000;\r\n20;")) << bytes.toStdString();

    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices[0].kind, Kind::TableFullStopping);
    EXPECT_EQ(notices[1].kind, Kind::RunStopped);
    EXPECT_EQ(notices[1].savedFile, saved);
    EXPECT_EQ(runnotice::text(notices[1]),
              QStringLiteral("Таблица заполнена. Файл сохранён: %1")
                  .arg(QDir::toNativeSeparators(saved)));
    EXPECT_EQ(statusText("lblCells"), QStringLiteral("Таблица заполнена: 2 из 2"));
    EXPECT_TRUE(window->actions().actStart->isEnabled());
    EXPECT_TRUE(window->actions().actFileSaveTo->isEnabled());

    // The journal knows the file, as after a save by hand.
    const QVector<TJournalRunSummary> runs = window->journal()->pastRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].SavedFile, saved);
    EXPECT_FALSE(window->journal()->hasUnsavedReadings());
}

TEST_F(RunCareTest, TheStopOnAFullTableIsOffUntilTickedAndAsksForItsFolderOnce) {
    bench.writeSettings();
    openWindow();
    QCheckBox *box = ui().chbStopWhenFull;
    EXPECT_FALSE(box->isChecked());
    ScriptedPrompts &prompts = bench.prompts();
    const auto asked = [&] { return prompts.texts(ScriptedPrompts::Ask::Kind::Folder).size(); };
    QString &answer = prompts.folder;
    box->click();
    EXPECT_EQ(asked(), 1);
    EXPECT_FALSE(box->isChecked()) << "no folder, no stop";
    answer = bench.folder() + QStringLiteral("/out");
    box->click();
    box->click();
    box->click();
    EXPECT_EQ(asked(), 2);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(window->fullTableStop()->folder(), answer);

    TearDown();
    window.reset();
    openWindow();
    EXPECT_TRUE(ui().chbStopWhenFull->isChecked());
    EXPECT_EQ(window->fullTableStop()->folder(), answer);
}

TEST_F(RunCareTest, ASilentMeterIsSaidInTheStatusBarOnTheDesktopOnceAndInTheJournal) {
    bench.thermometer().setProgramme(TemperatureProgramme::hold(21.0));
    bench.writeSettings();
    openWindow();
    prepareTable("22");
    ASSERT_TRUE(startRun());
    ASSERT_TRUE(waitUntil([&] { return !cell(2, 2).isEmpty() || !cell(2, 3).isEmpty(); }, 20000));
    EXPECT_EQ(statusText("lblMeterLink"), QString());

    bench.meter().setSilent(3600 * 1000);
    ASSERT_TRUE(
        waitUntil([&] { return ui().meterDisplay->panelColor() == QColor(panelcolor::LinkLost); }));
    const qint64 run = window->journal()->currentRunId();
    advanceSeconds(3);
    EXPECT_EQ(statusText("lblMeterLink"), QStringLiteral("Измеритель: нет данных 3 с"));
    EXPECT_EQ(statusText("lblThermoLink"), QString());
    QVector<TLinkOutage> kept = window->journal()->outages(run);
    ASSERT_EQ(kept.size(), 1) << "kept as it begins";
    EXPECT_EQ(kept[0], (TLinkOutage{TInstrument::Meter, kStart, QDateTime()}));

    advanceSeconds(57);
    EXPECT_TRUE(notices.isEmpty()) << "a minute is not more than a minute";
    advanceSeconds(1);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0].kind, Kind::InstrumentSilent);
    EXPECT_EQ(notices[0].instrument, TInstrument::Meter);
    EXPECT_EQ(runnotice::text(notices[0]),
              QStringLiteral("Измеритель не присылает данных больше минуты, с %1. Измерения идут.")
                  .arg(kStart.toString(QStringLiteral("HH:mm:ss"))));
    EXPECT_EQ(statusText("lblMeterLink"), QStringLiteral("Измеритель: нет данных 1 мин 1 с"));
    advanceSeconds(10);
    EXPECT_EQ(notices.size(), 1) << "said once per silence";

    bench.meter().setSilent(0);
    ASSERT_TRUE(waitUntil([&] {
        return !window->linkWatch()->outages().isEmpty() &&
               window->linkWatch()->outages().last().End.isValid();
    }));
    window->linkWatch()->refresh();
    EXPECT_EQ(statusText("lblMeterLink"), QString());
    window->actions().actStop->trigger();

    const TLinkOutage outage{TInstrument::Meter, kStart, kStart.addSecs(71)};
    EXPECT_EQ(window->journal()->outages(run), QVector<TLinkOutage>({outage}));

    // The list of past runs and the export describe it.
    QString details;
    window->pastRunsCommand()->setDialogShown(
        [&](PastRunsDialog &dialog) { details = dialog.details()->text(); });
    window->actions().actPastRuns->trigger();
    EXPECT_EQ(details, QStringLiteral("Перерывы связи:\nИзмеритель: 11.12.2026 03:07:30 – "
                                      "03:08:41 (1 мин 11 с)"));
    const QString exported = bench.folder() + QStringLiteral("/readings.csv");
    bench.prompts().saveAs = exported;
    window->actions().actFileSaveReadings->trigger();
    EXPECT_TRUE(readFile(exported).contains(
        "# outage: meter, 2026-12-11T03:07:30.000 .. 2026-12-11T03:08:41.000, 71 s"));
}

// The watch follows the run after the journal has begun it: instruments silent for 4 s
// by the watch's clock when the run starts are outages of that run from its start.
TEST_F(RunCareTest, InstrumentsSilentWhenTheRunStartsAreOutagesOfThatRun) {
    bench.thermometer().setProgramme(TemperatureProgramme::hold(21.0));
    bench.writeSettings();
    openWindow();
    prepareTable("22");
    const QColor linkOk(panelcolor::LinkOk);
    ASSERT_TRUE(waitUntil([&] {
        return window->engine().portsOpen() && ui().meterDisplay->panelColor() == linkOk &&
               ui().thermoDisplay->panelColor() == linkOk &&
               window->actions().actStart->isEnabled();
    }));
    // No frame nor line is read between the clock's move and the start.
    clock.advance(4000);
    window->actions().actStart->trigger();
    ASSERT_TRUE(window->engine().isRunning());

    const QDateTime started = kStart.addSecs(4);
    QVector<TLinkOutage> kept = window->journal()->outages(window->journal()->currentRunId());
    std::sort(kept.begin(), kept.end(), [](const TLinkOutage &a, const TLinkOutage &b) {
        return a.Instrument < b.Instrument;
    });
    EXPECT_EQ(kept, QVector<TLinkOutage>({{TInstrument::Meter, started, QDateTime()},
                                          {TInstrument::Thermometer, started, QDateTime()}}));
}

// Before, a restart showed the five default frequencies and a skip count of
// 7, and with any other column count an empty grid.
TEST_F(RunCareTest, ARestartBringsBackTheNewestRunsFrequenciesColumnsAndSkipCount) {
    bench.writeSettings(QStringLiteral("TempInit=20\r\nTempFinal=22\r\nTempStep=1\r\n"
                                       "TempDiff=0,4\r\nFreqColCount=5\r\n"));
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(bench.folder() + QStringLiteral("/runs.sqlite")).ok);
        TJournalTable table;
        table.SetPointTexts = {QStringLiteral("20")};
        table.TempStorage.Add({20, 1, 0});
        qint64 id = 0;
        ASSERT_TRUE(journal.beginRun(table, {kStart, {100, 1000, 5000, 10000, 100000}, 7}, &id).ok);
        ASSERT_TRUE(journal.recordStart(id, {kStart.addSecs(60), {120, 2000, 20000}, 3}).ok);
        TJournalReading reading;
        reading.Row = 1;
        reading.Col = 2;
        reading.FrequencyHz = 120;
        reading.CellText = QStringLiteral("Cp 1 nF");
        ASSERT_TRUE(journal.recordReading(id, reading).ok);
        ASSERT_TRUE(journal
                        .markSaved(id, TRunJournal::kAllReadings, QStringLiteral("run.csv"),
                                   kStart.addSecs(90))
                        .ok);
        ASSERT_TRUE(journal.markCleanShutdown().ok);
    }
    openWindow();
    ASSERT_TRUE(waitUntil([&] { return ui().leFreqColCount->text() == QStringLiteral("3"); }));
    EXPECT_EQ(ui().grdTable->columnCount(), 5);
    EXPECT_EQ(cell(0, 2), QStringLiteral("120"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("2000"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("20000"));
    EXPECT_EQ(ui().lblSkipIM->text(), QStringLiteral("3"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("20")) << "the table itself is the settings' own";
    EXPECT_EQ(ui().grdTable->rowCount(), 4);
}

} // namespace
