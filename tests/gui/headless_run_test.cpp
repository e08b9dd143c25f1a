// The program run without a window (--headless RUNFILE) against the simulated
// bench, as a process of its own with no display: it fills the table and saves
// the file the window saves for the same run; a termination signal saves what
// it has; a second copy and a bad run file are refused with their exit codes.
#include "engine/run_engine.h"
#include "instruments_support.h"

#include "app/headless_run.h"
#include "test_window.h"
#include "control/save_command.h"
#include "model/app_state.h"
#include "sim_thermometer.h"
#include "ui/meter_display_view.h"
#include "ui/results_grid_view.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QTableWidgetItem>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kFrequencies = QStringLiteral("100 1000 5000");

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A run file for the bench: set points `from` .. `to`, output and journal in
// the bench's folder.
QString writeRunFile(const SimulatedBench &bench, const QString &name, const QString &to,
                     const QString &output) {
    const QString path = QDir(bench.folder()).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QStringLiteral("# %1\n"
                              "from = 20\nto = %2\nstep = 1\ntolerance = 0,3\n"
                              "frequencies = %3\nskip = 2\n"
                              "meter = COM%4\nthermometer = %5\n"
                              "output = %6\nports_folder = ports\njournal = headless.sqlite\n")
                   .arg(name, to, kFrequencies)
                   .arg(SimulatedBench::kMeterPort)
                   .arg(SimulatedBench::kThermoPort)
                   .arg(output)
                   .toUtf8());
    return path;
}

// The program with no display and a runtime folder of its own (its lock).
class Headless {
public:
    explicit Headless(const QString &runtime) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("TMPDIR"), runtime);
        process.setProcessEnvironment(env);
    }
    ~Headless() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    void start(const QString &runFile) {
        process.start(QStringLiteral(TAMREL_PROGRAM_PATH), {QStringLiteral("--headless"), runFile});
    }
    // The simulator lives in this process: its events run while we wait.
    bool finish(int timeoutMs) {
        return waitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    }
    bool said(const QString &text) {
        out += QString::fromLocal8Bit(process.readAllStandardOutput());
        return out.contains(text);
    }
    QString errors() { return QString::fromLocal8Bit(process.readAllStandardError()); }

    QProcess process;
    QString out;
};

// The window's run of the same table: one set point at 20 degrees, which the
// simulator holds, three frequencies, two settling frames.
QByteArray windowRunFile(SimulatedBench &bench) {
    bench.writeSettings();
    TMainOptions options = bench.windowOptions();
    options.decimalSeparator = QLocale::system().decimalPoint().at(0);
    auto window = std::make_unique<TestWindow>(options);
    const MainWindowUi &ui = window->ui();
    ui.leTempInit->setText(QStringLiteral("20"));
    ui.leTempFinal->setText(QStringLiteral("20"));
    ui.leTempStep->setText(QStringLiteral("1"));
    ui.leTempDiff->setText(QStringLiteral("0") + options.decimalSeparator + QStringLiteral("3"));
    ui.leFreqColCount->setText(QStringLiteral("3"));
    window->actions().actApplySettiingsTempAndGrid->trigger();
    const QStringList frequencies = kFrequencies.split(QLatin1Char(' '));
    for (int i = 0; i < frequencies.size(); ++i)
        ui.grdTable->setItem(0, i + 2, new QTableWidgetItem(frequencies[i]));
    ui.lblSkipIM->setText(QStringLiteral("2"));
    const QColor linkOk(77, 213, 11);
    if (!waitUntil([&] {
            return window->engine().portsOpen() && ui.meterDisplay->panelColor() == linkOk &&
                   ui.thermoDisplay->panelColor() == linkOk &&
                   window->actions().actStart->isEnabled();
        }))
        return QByteArray();
    // A warning would mean the window refused the run.
    const int asked = bench.prompts().asks.size();
    window->actions().actStart->trigger();
    if (bench.prompts().asks.size() != asked)
        return QByteArray();
    const auto rowFilled = [&] {
        for (int c = 2; c < 2 + frequencies.size(); ++c)
            if (!ui.grdTable->item(1, c) || ui.grdTable->item(1, c)->text().isEmpty())
                return false;
        return true;
    };
    if (!waitUntil(rowFilled, 40000))
        return QByteArray();
    window->actions().actStop->trigger();
    const QString path = QDir(bench.folder()).filePath(QStringLiteral("window.tamrel"));
    bench.prompts().saveAs = path;
    window->actions().actFileSaveTo->trigger();
    for (QTimer *timer : window->findChildren<QTimer *>())
        timer->stop();
    window.reset();
    return readAll(path);
}

TEST(HeadlessRun, FillsTheTableAndSavesTheFileTheWindowSavesForTheSameRun) {
    SimulatedBench bench;
    bench.thermometer().setProgramme(TemperatureProgramme::hold(20.0));
    const QByteArray fromWindow = windowRunFile(bench);
    ASSERT_FALSE(fromWindow.isEmpty());

    QTemporaryDir runtime;
    Headless run(runtime.path());
    run.start(writeRunFile(bench, QStringLiteral("full.run"), QStringLiteral("20"),
                           QStringLiteral("headless.tamrel")));
    ASSERT_TRUE(run.finish(60000));
    EXPECT_EQ(run.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process.exitCode(), headlessexit::TableFull) << run.errors().toStdString();
    EXPECT_TRUE(run.said(QStringLiteral("Таблица заполнена."))) << run.out.toStdString();
    // Each block's header line is the display of the run's newest reading,
    // whose range follows the frequency that happened to be read last.
    const auto withoutHeaders = [](const QByteArray &file) {
        QList<QByteArray> lines = file.split('\n');
        lines.removeIf([](const QByteArray &line) { return line.startsWith("Limit = "); });
        return lines;
    };
    const QByteArray fromHeadless =
        readAll(QDir(bench.folder()).filePath(QStringLiteral("headless.tamrel")));
    EXPECT_EQ(withoutHeaders(fromHeadless), withoutHeaders(fromWindow));
    EXPECT_EQ(fromHeadless.count("\nLimit = "), 2);
    EXPECT_TRUE(QFile::exists(QDir(bench.folder()).filePath(QStringLiteral("headless.sqlite"))));
}

TEST(HeadlessRun, ASignalSavesWhatItHasAndASecondCopyIsRefused) {
    SimulatedBench bench;
    bench.thermometer().setProgramme(TemperatureProgramme::hold(20.0));
    QTemporaryDir runtime;
    Headless first(runtime.path());
    first.start(writeRunFile(bench, QStringLiteral("long.run"), QStringLiteral("25"),
                             QStringLiteral("partial.tamrel")));
    ASSERT_TRUE(waitUntil([&] { return first.said(QStringLiteral("Гц:")); }, 30000))
        << first.out.toStdString() << first.errors().toStdString();

    Headless second(runtime.path());
    second.start(writeRunFile(bench, QStringLiteral("second.run"), QStringLiteral("20"),
                              QStringLiteral("second.tamrel")));
    ASSERT_TRUE(second.finish(30000));
    EXPECT_EQ(second.process.exitCode(), headlessexit::OtherCopy);
    EXPECT_FALSE(second.errors().isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(bench.folder()).filePath(QStringLiteral("second.tamrel"))));

    first.process.terminate(); // SIGTERM
    ASSERT_TRUE(first.finish(30000));
    EXPECT_EQ(first.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.process.exitCode(), headlessexit::Stopped);
    const QByteArray saved =
        readAll(QDir(bench.folder()).filePath(QStringLiteral("partial.tamrel")));
    EXPECT_TRUE(saved.startsWith("Cp;\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\r\n20;")) << saved.toStdString();
}

TEST(HeadlessRun, ABadRunFileIsRefusedWithCodeTwoAndNothingWritten) {
    const struct {
        const char *name;
        const char *text;
        const char *said;
    } cases[] = {
        {"missing key", "from = 20\n", "нет ключа «to»"},
        {"zero step",
         "from = 20\nto = 25\nstep = 0\ntolerance = 0.3\nfrequencies = 100\nskip = 6\n"
         "meter = COM3\nthermometer = COM4\noutput = out.tamrel\n",
         "строка 3"},
        {"frequency between kilohertz",
         "from = 20\nto = 25\nstep = 1\ntolerance = 0.3\nfrequencies = 100 1500\nskip = 6\n"
         "meter = COM3\nthermometer = COM4\noutput = out.tamrel\n",
         "строка 5"},
        {"output in no folder",
         "from = 20\nto = 25\nstep = 1\ntolerance = 0.3\nfrequencies = 100\nskip = 6\n"
         "meter = COM3\nthermometer = COM4\noutput = nowhere/out.tamrel\n",
         "строка 9"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.run"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.text);
        file.close();
        Headless run(dir.path());
        run.start(path);
        ASSERT_TRUE(run.finish(30000));
        EXPECT_EQ(run.process.exitCode(), headlessexit::BadRunFile);
        EXPECT_TRUE(run.errors().contains(QString::fromUtf8(c.said)));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("bad.run")});
    }
}

} // namespace
