// The settings file as the window shows and keeps it: loaded into the port
// combo boxes and the run-parameter edits at start, written back at every
// autoconnect tick and at shutdown, on the simulated bench.
#include "test_window.h"
#include "control/settings_binding.h"
#include "instruments_support.h"
#include "settings/ini_file.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingsBindingTest : public ::testing::Test {
protected:
    void TearDown() override { stopTimers(); }

    void openWindow() {
        window = std::make_unique<TestWindow>(bench.windowOptions());
        window->show();
    }

    // Keeps the window's ticks from touching the file or the ports.
    void stopTimers() {
        if (window)
            for (QTimer *timer : window->findChildren<QTimer *>())
                timer->stop();
    }

    QString stored(const QString &key) const {
        TIniFile ini(bench.settingsPath());
        ini.load();
        return ini.readString(QStringLiteral("general"), key, QStringLiteral("<missing>"));
    }

    // Every key with the text of its widget.
    QList<std::pair<QString, QString>> widgetTexts() const {
        const MainWindowUi &ui = window->ui();
        return {
            {"PortIMNumber", ui.cmbPortIMNumber->currentText()},
            {"PortIMBaud", ui.cmbPortIMBaud->currentText()},
            {"PortIMDataBits", ui.cmbPortIMDataBits->currentText()},
            {"PortIMParity", ui.cmbPortIMParity->currentText()},
            {"PortIMStopBits", ui.cmbPortIMStopBits->currentText()},
            {"PortTempNumber", ui.cmbPortTempNumber->currentText()},
            {"PortTempBaud", ui.cmbPortTempBaud->currentText()},
            {"PortTempDataBits", ui.cmbPortTempDataBits->currentText()},
            {"PortTempParity", ui.cmbPortTempParity->currentText()},
            {"PortTempStopBits", ui.cmbPortTempStopBits->currentText()},
            {"TempInit", ui.leTempInit->text()},
            {"TempFinal", ui.leTempFinal->text()},
            {"TempStep", ui.leTempStep->text()},
            {"TempDiff", ui.leTempDiff->text()},
            {"FreqColCount", ui.leFreqColCount->text()},
        };
    }

    SimulatedBench bench;
    std::unique_ptr<TestWindow> window;
};

TEST_F(SettingsBindingTest, FileReachesTheWidgetsAndEditsReachTheFileAtShutdown) {
    bench.writeSettings("PortIMBaud=19200\r\nPortIMDataBits=7\r\nPortIMParity=even\r\n"
                        "PortIMStopBits=2\r\nPortTempBaud=57600\r\nPortTempDataBits=6\r\n"
                        "PortTempParity=odd\r\nPortTempStopBits=1.5\r\nTempInit=-20,5\r\n"
                        "TempFinal=40\r\nTempStep=2,5\r\nTempDiff=0,1\r\nFreqColCount=0x0C\r\n");
    openWindow();
    stopTimers();
    const QList<std::pair<QString, QString>> loaded = {
        {"PortIMNumber", "COM3"},    {"PortIMBaud", "19200"},   {"PortIMDataBits", "7"},
        {"PortIMParity", "even"},    {"PortIMStopBits", "2"},   {"PortTempNumber", "COM4"},
        {"PortTempBaud", "57600"},   {"PortTempDataBits", "6"}, {"PortTempParity", "odd"},
        {"PortTempStopBits", "1.5"}, {"TempInit", "-20,5"},     {"TempFinal", "40"},
        {"TempStep", "2,5"},         {"TempDiff", "0,1"},       {"FreqColCount", "12"},
    };
    EXPECT_EQ(widgetTexts(), loaded);

    const MainWindowUi &ui = window->ui();
    ui.cmbPortIMNumber->setEditText("COM7");
    ui.cmbPortTempBaud->setEditText("115200");
    ui.leTempInit->setText("-10,0");
    ui.leTempDiff->setText("0,25");
    ui.leFreqColCount->setText("8");
    window->close();

    EXPECT_EQ(stored("PortIMNumber"), "COM7");
    EXPECT_EQ(stored("PortTempBaud"), "115200");
    EXPECT_EQ(stored("TempInit"), "-10");
    EXPECT_EQ(stored("TempDiff"), "0,25");
    EXPECT_EQ(stored("FreqColCount"), "8");
    EXPECT_EQ(stored("PortIMParity"), "even");

    window.reset();
    openWindow();
    stopTimers();
    QList<std::pair<QString, QString>> reloaded = loaded;
    reloaded[0].second = "COM7";
    reloaded[6].second = "115200";
    reloaded[10].second = "-10";
    reloaded[13].second = "0,25";
    reloaded[14].second = "8";
    EXPECT_EQ(widgetTexts(), reloaded);
}

TEST_F(SettingsBindingTest, WithoutAFileTheDefaultsShowAndTheFirstSaveWritesEveryKey) {
    openWindow();
    // Port "1" is a real device on some machines; the test must not open it.
    stopTimers();
    const QList<std::pair<QString, QString>> defaults = {
        {"PortIMNumber", "1"},     {"PortIMBaud", "9600"},    {"PortIMDataBits", "8"},
        {"PortIMParity", "none"},  {"PortIMStopBits", "1"},   {"PortTempNumber", "1"},
        {"PortTempBaud", "9600"},  {"PortTempDataBits", "8"}, {"PortTempParity", "none"},
        {"PortTempStopBits", "1"}, {"TempInit", "-50"},       {"TempFinal", "30"},
        {"TempStep", "1"},         {"TempDiff", "0,3"},       {"FreqColCount", "10"},
    };
    EXPECT_EQ(widgetTexts(), defaults);

    window->settingsBinding()->SaveSettings();
    for (const auto &[key, text] : defaults)
        EXPECT_EQ(stored(key), text) << key.toStdString();
}

TEST_F(SettingsBindingTest, MalformedNumbersLoadAsTheirDefaults) {
    bench.writeSettings("TempInit=\r\nTempDiff=abc\r\nTempStep=1.5\r\nFreqColCount=0x0A\r\n");
    openWindow();
    stopTimers();
    const MainWindowUi &ui = window->ui();
    EXPECT_EQ(ui.leTempInit->text(), "-50");
    EXPECT_EQ(ui.leTempDiff->text(), "0,3");
    EXPECT_EQ(ui.leTempStep->text(), "1") << "a point is not the separator of this window";
    EXPECT_EQ(ui.leFreqColCount->text(), "10");
}

// The tick saves what it can: the keys before the first edit that is not a
// number are updated, that one and the ones after it keep their file values.
TEST_F(SettingsBindingTest, EditThatIsNotANumberStopsTheTickSaveAtItsKey) {
    bench.writeSettings("PortIMParity=none\r\nTempInit=-40\r\nTempFinal=25\r\nTempStep=5\r\n"
                        "TempDiff=0,5\r\nFreqColCount=7\r\n");
    openWindow();
    const MainWindowUi &ui = window->ui();
    ui.cmbPortIMParity->setEditText("odd");
    ui.leTempInit->setText("-45");
    ui.leTempFinal->clear();
    ui.leTempDiff->setText("0,7");

    ASSERT_TRUE(waitUntil([&] { return stored("TempInit") == "-45"; }, 3000));
    EXPECT_EQ(stored("PortIMParity"), "odd");
    EXPECT_EQ(stored("TempFinal"), "25");
    EXPECT_EQ(stored("TempStep"), "5");
    EXPECT_EQ(stored("TempDiff"), "0,5");
    EXPECT_EQ(stored("FreqColCount"), "7");

    ui.leTempFinal->setText("35");
    EXPECT_TRUE(waitUntil([&] { return stored("TempDiff") == "0,7"; }, 3000));
    EXPECT_EQ(stored("TempFinal"), "35");
}

// The edits' length limits are for typing: a longer stored value arrives whole
// and stays in the file until the user changes it.
TEST_F(SettingsBindingTest, StoredValuesLongerThanTheTypingLimitsArriveWholeAndStay) {
    bench.writeSettings("TempInit=-12,345\r\nTempFinal=25\r\nTempStep=1\r\nTempDiff=0,3\r\n"
                        "FreqColCount=123\r\n");
    openWindow();
    const MainWindowUi &ui = window->ui();
    EXPECT_EQ(ui.leTempInit->text(), "-12,345");
    EXPECT_EQ(ui.leFreqColCount->text(), "123");

    window->settingsBinding()->SaveSettings();
    EXPECT_EQ(stored("TempInit"), "-12,345");
    EXPECT_EQ(stored("FreqColCount"), "123");

    // Typing stops at the limit: six characters, two for the count.
    ui.leTempDiff->clear();
    QTest::keyClicks(ui.leTempDiff, "12345678");
    EXPECT_EQ(ui.leTempDiff->text(), "123456");
    ui.leFreqColCount->clear();
    QTest::keyClicks(ui.leFreqColCount, "987");
    EXPECT_EQ(ui.leFreqColCount->text(), "98");
    // A text loaded longer than the limit can still be shortened.
    ui.leTempInit->setFocus();
    ui.leTempInit->end(false);
    QTest::keyClick(ui.leTempInit, Qt::Key_Backspace);
    EXPECT_EQ(ui.leTempInit->text(), "-12,34");
}

// A settings file of megabytes would be read and rewritten every 3 s: it is
// kept aside under a new name, once, and the program starts from the defaults.
TEST_F(SettingsBindingTest, OversizedFileIsKeptAsideAndTheDefaultsShow) {
    bench.writeSettings("TempInit=-10\r\n; " + QString(1 << 20, QLatin1Char('x')) + "\r\n");
    QFile original(bench.settingsPath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    openWindow();
    stopTimers();
    const QStringList notices = bench.prompts().notices();

    ASSERT_EQ(notices.size(), 1) << notices.join('|').toStdString();
    EXPECT_TRUE(notices[0].contains("options.ini.too-large")) << notices[0].toStdString();
    EXPECT_EQ(window->ui().leTempInit->text(), "-50");
    QFile aside(bench.settingsPath() + ".too-large");
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), bytes) << "the user's file is kept as it was";

    window->settingsBinding()->SaveSettings();
    EXPECT_EQ(stored("TempInit"), "-50");
    EXPECT_LT(QFileInfo(bench.settingsPath()).size(), 1024);
}

TEST_F(SettingsBindingTest, UnreadableFileLeavesTheWidgetsAndTellsTheUser) {
    ASSERT_TRUE(QDir().mkpath(bench.settingsPath()));
    openWindow();
    stopTimers();
    const QStringList notices = bench.prompts().notices();

    EXPECT_TRUE(notices.contains("не удалось загрузить настройки"))
        << notices.join('|').toStdString();
    EXPECT_EQ(window->ui().cmbPortIMNumber->currentText(), "") << "the combo keeps its own text";
    EXPECT_EQ(window->ui().leTempInit->text(), "-50,0");
}

} // namespace
