// "Найти приборы" against the simulated instruments on ports the settings do not name: the
// meter and the thermometer swapped, one of them missing, a port of noise, a port another
// program holds; cancelling; and the search at a first start.
#include "test_window.h"
#include "control/instrument_search.h"
#include "engine/run_engine.h"
#include "instruments_support.h"
#include "pty_port.h"
#include "serial/ser_com_port.h"
#include "settings/ini_file.h"
#include "sim_meter.h"
#include "sim_thermometer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// The ports of a test: every number the search could try names a missing device until an
// instrument is put there, so that the machine's own serial ports stay out of the results.
// The window runs its timers three times faster: the search listens for 1 s.
class SearchBench {
public:
    static constexpr int kTimerDivisor = 3;

    SearchBench() {
        QDir().mkpath(ports());
        for (int n = 1; n <= 96; ++n)
            QFile::link(m_dir.filePath("no-such-device"), linkOf(n));
    }
    ~SearchBench() {
        if (window)
            for (QTimer *timer : window->findChildren<QTimer *>())
                timer->stop();
        window.reset();
    }

    QString ports() const { return m_dir.filePath("ports"); }
    QString settingsPath() const { return m_dir.filePath("options.ini"); }

    SimMeter &placeMeter(int n) {
        SimMeterOptions options;
        options.frameMs = 40;
        options.linkPath = linkOf(n);
        m_meters.push_back(std::make_unique<SimMeter>(options));
        EXPECT_TRUE(m_meters.back()->start());
        return *m_meters.back();
    }

    void placeThermometer(int n) {
        SimThermometerOptions options;
        options.lineMs = 100;
        options.linkPath = linkOf(n);
        m_thermometers.push_back(std::make_unique<SimThermometer>(options));
        EXPECT_TRUE(m_thermometers.back()->start());
    }

    // Random bytes, stray start bytes among them, 16 every 50 ms.
    void placeNoise(int n) {
        m_noise.setLinkPath(linkOf(n));
        ASSERT_TRUE(m_noise.open());
        QObject::connect(&m_noiseTimer, &QTimer::timeout, [this] {
            QByteArray bytes;
            for (int i = 0; i < 16; ++i)
                bytes.append(char(m_rng() & 0xFF));
            m_noise.write(bytes);
        });
        m_noiseTimer.start(50);
    }

    // A meter whose port this process holds open, as another program would.
    void placeHeldMeter(int n) {
        placeMeter(n);
        m_holder.setPortsFolder(ports());
        m_holder.setComNumber(quint16(n));
        m_holder.setOpen(true);
    }
    const TSerComPort &holder() const { return m_holder; }

    // settings: the lines of options.ini after "[general]"; none: no file.
    void openWindow(const QString &settings, bool atFirstStart = false) {
        if (!settings.isNull()) {
            QFile file(settingsPath());
            file.open(QIODevice::WriteOnly);
            file.write(("[general]\r\n" + settings).toUtf8());
        }
        TMainOptions options;
        options.settingsPath = settingsPath();
        options.portsFolder = ports();
        options.decimalSeparator = QLatin1Char(',');
        options.timerDivisor = kTimerDivisor;
        options.findInstrumentsAtFirstStart = atFirstStart;
        options.prompts = &prompts;
        prompts.onNotice = [this](const ScriptedPrompts::Ask &ask) { notices << ask.text; };
        window = std::make_unique<TestWindow>(options);
        window->show();
    }

    TInstrumentSearch *search() const { return window->instrumentSearch(); }
    const MainWindowUi &ui() const { return window->ui(); }

    bool waitForTheResult() {
        return waitUntil([&] { return !search()->isSearching() && !notices.isEmpty(); }, 8000);
    }

    QStringList listed(const QComboBox *box) const {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    QString stored(const QString &key) const {
        TIniFile ini(settingsPath());
        ini.load();
        return ini.readString("general", key, "<missing>");
    }

    QStringList notices;
    ScriptedPrompts prompts;
    std::unique_ptr<TestWindow> window;

private:
    QString linkOf(int n) const { return ports() + QStringLiteral("/COM%1").arg(n); }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<SimMeter>> m_meters;
    std::vector<std::unique_ptr<SimThermometer>> m_thermometers;
    PtyPort m_noise;
    QTimer m_noiseTimer;
    std::mt19937 m_rng{42};
    TSerComPort m_holder;
};

// The settings name the meter's port for the thermometer and the other way round. The links
// hold the wrong ports when the search starts; it frees them, finds the truth, and the links
// reconnect to it at once.
TEST(InstrumentSearch, FindsSwappedInstrumentsBesideNoiseAndAHeldPort) {
    SearchBench bench;
    SimMeter &meter = bench.placeMeter(7);
    bench.placeThermometer(5);
    bench.placeNoise(6);
    bench.placeHeldMeter(9);
    bench.openWindow("PortIMNumber=COM5\r\nPortTempNumber=COM7\r\n");
    TestWindow &window = *bench.window;
    ASSERT_TRUE(
        waitUntil([&] { return window.portIM()->isOpen() && window.portTemp()->isOpen(); }, 3000));

    bench.ui().btnFindInstruments->click();
    EXPECT_TRUE(bench.search()->isSearching()) << "the search runs on while the window does";
    EXPECT_EQ(bench.ui().btnFindInstruments->text(), "Отменить поиск");
    EXPECT_FALSE(bench.ui().pbFindInstruments->isHidden());
    EXPECT_FALSE(window.portIM()->isOpen()) << "the links give their ports to the search";
    EXPECT_FALSE(window.timers().tmrAutoconnectToDevice->isActive());
    ASSERT_TRUE(bench.waitForTheResult());

    const TInstrumentSearchResult &r = bench.search()->lastResult();
    EXPECT_EQ(r.meterPorts, QList<int>{7});
    EXPECT_EQ(r.thermoPorts, QList<int>{5});
    EXPECT_EQ(r.silentPorts, QList<int>{6});
    EXPECT_EQ(r.heldPorts, QList<int>{9});
    EXPECT_EQ(bench.notices,
              QStringList{"Измеритель иммитанса найден на COM7.\nТермометр найден на COM5.\n\n"
                          "Без данных приборов: COM6.\n\n"
                          "Заняты другой программой и не проверены: COM9.\n\n"
                          "Найденные порты записаны в настройки."});
    EXPECT_EQ(bench.ui().cmbPortIMNumber->currentText(), "COM7");
    EXPECT_EQ(bench.ui().cmbPortTempNumber->currentText(), "COM5");
    const QStringList ports = {"COM5", "COM6", "COM7", "COM9"};
    EXPECT_EQ(bench.listed(bench.ui().cmbPortIMNumber), ports);
    EXPECT_EQ(bench.listed(bench.ui().cmbPortTempNumber), ports);
    EXPECT_EQ(bench.ui().btnFindInstruments->text(), "Найти приборы");
    EXPECT_TRUE(bench.ui().pbFindInstruments->isHidden());
    EXPECT_TRUE(bench.holder().isOpen());

    EXPECT_TRUE(window.portIM()->isOpen());
    EXPECT_EQ(window.portIM()->comNumber(), 7);
    EXPECT_EQ(window.portTemp()->comNumber(), 5);
    EXPECT_TRUE(window.timers().tmrAutoconnectToDevice->isActive());
    EXPECT_EQ(bench.stored("PortIMNumber"), "COM7") << "saved by the tick that reconnected";
    EXPECT_TRUE(waitUntil([&] { return meter.keysReceived().contains(char(5)); }, 2000));
}

TEST(InstrumentSearch, WhatWasNotFoundIsSaidAndNothingIsAppliedForIt) {
    const struct {
        const char *name;
        int thermometer; // 0: none
        int noise;       // 0: none
        const char *report;
        const char *imPort;
        const char *tempPort;
    } cases[] = {
        {"the thermometer alone", 12, 0,
         "Измеритель иммитанса не найден.\nТермометр найден на COM12.\n\n"
         "Найденные порты записаны в настройки.",
         "COM3", "COM12"},
        {"a port of noise", 0, 2,
         "Измеритель иммитанса не найден.\nТермометр не найден.\n\nБез данных приборов: COM2."
         "\n\nНастройки портов не изменены.",
         "COM3", "COM4"},
        {"no port at all", 0, 0,
         "Последовательные порты не найдены: подключите приборы и повторите поиск.\n\n"
         "Настройки портов не изменены.",
         "COM3", "COM4"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SearchBench bench;
        if (c.thermometer)
            bench.placeThermometer(c.thermometer);
        if (c.noise)
            bench.placeNoise(c.noise);
        bench.openWindow("PortIMNumber=COM3\r\nPortTempNumber=COM4\r\n");
        bench.search()->start();
        ASSERT_TRUE(bench.waitForTheResult());
        EXPECT_EQ(bench.notices, QStringList{QString::fromUtf8(c.report)});
        EXPECT_EQ(bench.ui().cmbPortIMNumber->currentText(), c.imPort);
        EXPECT_EQ(bench.ui().cmbPortTempNumber->currentText(), c.tempPort);
    }
}

TEST(InstrumentSearch, CancellingReleasesThePortsAndAppliesNothing) {
    SearchBench bench;
    bench.placeNoise(2);
    bench.openWindow("PortIMNumber=COM3\r\nPortTempNumber=COM4\r\n");
    bench.ui().btnFindInstruments->click();
    ASSERT_TRUE(waitUntil([&] { return bench.ui().pbFindInstruments->value() > 0; }, 2000))
        << "the progress moves while it listens";

    bench.ui().btnFindInstruments->click();
    EXPECT_FALSE(bench.search()->isSearching());
    EXPECT_EQ(bench.ui().btnFindInstruments->text(), "Найти приборы");
    EXPECT_TRUE(bench.ui().pbFindInstruments->isHidden());
    EXPECT_TRUE(bench.notices.isEmpty());
    EXPECT_EQ(bench.ui().cmbPortIMNumber->currentText(), "COM3");
    EXPECT_TRUE(bench.window->timers().tmrAutoconnectToDevice->isActive());
    TSerComPort port;
    port.setPortsFolder(bench.ports());
    port.setComNumber(2);
    EXPECT_NO_THROW(port.setOpen(true)) << "the search let the port go";
}

TEST(InstrumentSearch, DuringARunTheLinksAreLeftAlone) {
    SearchBench bench;
    bench.placeMeter(3);
    bench.placeThermometer(4);
    bench.openWindow("PortIMNumber=COM3\r\nPortTempNumber=COM4\r\n");
    ASSERT_TRUE(waitUntil([&] { return bench.window->portIM()->isOpen(); }, 3000));
    bench.window->engine().beginRun();
    bench.ui().btnFindInstruments->click();
    EXPECT_FALSE(bench.search()->isSearching());
    EXPECT_EQ(bench.notices, QStringList{"Поиск приборов возможен, когда измерения остановлены."});
    EXPECT_TRUE(bench.window->portIM()->isOpen());
}

// A new user: no settings file yet. The port panel opens, the search runs by itself, and the
// first save keeps what it found. With a settings file nothing of this happens.
TEST(InstrumentSearch, AFirstStartSearchesByItselfAndKeepsWhatItFound) {
    SearchBench bench;
    bench.placeMeter(11);
    bench.placeThermometer(14);
    bench.openWindow(QString(), true);
    EXPECT_EQ(bench.ui().lblDataFolder->text(),
              "Папка настроек: " + QDir::toNativeSeparators(QFileInfo(bench.ports()).path()));
    ASSERT_TRUE(bench.waitForTheResult());
    EXPECT_TRUE(bench.ui().pnlComPortSettings->isVisible());
    EXPECT_TRUE(bench.notices.value(0).startsWith(
        "Измеритель иммитанса найден на COM11.\nТермометр найден на COM14."))
        << bench.notices.join('|').toStdString();
    EXPECT_EQ(bench.stored("PortIMNumber"), "COM11");
    EXPECT_EQ(bench.stored("PortTempNumber"), "COM14");

    SearchBench later;
    later.placeMeter(11);
    later.openWindow("PortIMNumber=COM11\r\n", true);
    // The search would have started at the first turn of the event loop.
    QCoreApplication::processEvents();
    EXPECT_FALSE(later.search()->isSearching());
    EXPECT_TRUE(later.notices.isEmpty());
    EXPECT_FALSE(later.ui().pnlComPortSettings->isVisible());
}

} // namespace
