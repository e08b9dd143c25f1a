// The automatic connection on the simulated bench: both links opened at the
// first tick, missing and silent devices retried, the start action and the
// keypad following the link panels, and the port lists filled by the probe.
#include "test_window.h"
#include "control/autoconnect.h"
#include "control/meter_link.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "instruments_support.h"
#include "meter/frame_scan.h"
#include "meter_frame.h"
#include "serial/ser_com_port.h"
#include "sim_meter.h"
#include "sim_thermometer.h"
#include "thermo_line.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// What a controller built by the test passes to its three callbacks.
struct Calls {
    QByteArray keys;
    QList<bool> keypad;
};

class AutoconnectTest : public ::testing::Test {
protected:
    void TearDown() override { stopTimers(); }

    // `engineClock`: the run engine's, when the test moves its time itself.
    void openWindow(const RunClock *engineClock = nullptr) {
        bench.writeSettings();
        TMainOptions options = bench.windowOptions();
        options.engineClock = engineClock;
        window = std::make_unique<TestWindow>(options);
        window->show();
        QObject::connect(window->timers().tmrAutoconnectToDevice, &QTimer::timeout,
                         [this] { ++ticks; });
    }

    // For tests that call the handlers themselves.
    void stopTimers() {
        if (window)
            for (QTimer *timer : window->findChildren<QTimer *>())
                timer->stop();
    }

    // A controller on the window's widgets and ports that records its calls.
    std::unique_ptr<TAutoconnect> recordingController(Calls &calls) {
        return std::make_unique<TAutoconnect>(
            window->engine(), *window->meterLink(), *window->thermoLink(),
            window->ui().portSettings(), window->ui().pnlSettings, window->actions().actStart,
            [&calls](uint8_t code) { calls.keys.append(char(code)); },
            [&calls](bool enabled) { calls.keypad << enabled; }, [] {});
    }

    // Lets the window's own ticks run until n more have passed.
    bool waitTicks(int n) {
        const int until = ticks + n;
        return waitUntil([&] { return ticks >= until; }, 300 * (n + 2));
    }

    QRgb meterPanel() const { return window->ui().meterDisplay->panelColor().rgb(); }
    QRgb thermoPanel() const { return window->ui().thermoDisplay->panelColor().rgb(); }

    SimulatedBench bench;
    std::unique_ptr<TestWindow> window;
    int ticks = 0;
};

TEST_F(AutoconnectTest, FirstTickOpensBothLinksAndSendsTheMeterTheEnterKey) {
    openWindow();
    EXPECT_FALSE(window->portIM()->isOpen());
    bool meterOpen = false, thermoOpen = false;
    int portsOpen = -1;
    QObject::connect(window->timers().tmrAutoconnectToDevice, &QTimer::timeout, [&] {
        if (ticks == 1) {
            meterOpen = window->portIM()->isOpen();
            thermoOpen = window->portTemp()->isOpen();
            portsOpen = window->engine().portsOpen();
        }
    });
    ASSERT_TRUE(waitTicks(1));
    EXPECT_TRUE(meterOpen);
    EXPECT_TRUE(thermoOpen);
    EXPECT_EQ(portsOpen, 1);
    EXPECT_TRUE(window->engine().refreshDueMs(LinkKind::Meter));
    EXPECT_TRUE(window->engine().refreshDueMs(LinkKind::Thermometer));
    EXPECT_TRUE(waitUntil([&] { return !bench.meter().keysReceived().isEmpty(); }, 2000));
    EXPECT_EQ(bench.meter().keysReceived().at(0), char(5));
}

// Needs the meter and thermometer links, which paint the panels green.
TEST_F(AutoconnectTest, StartAndKeypadAreEnabledAtATickOnceBothPanelsAreGreen) {
    openWindow();
    // The panels start green; the watchdogs paint them red before the links open.
    ASSERT_TRUE(waitTicks(1));
    ASSERT_TRUE(waitUntil(
        [&] { return meterPanel() == panelcolor::LinkOk && thermoPanel() == panelcolor::LinkOk; },
        3000));
    window->actions().actStart->setEnabled(false);
    window->actions().actCMD8Enter->setEnabled(false);
    ASSERT_TRUE(waitTicks(1));
    EXPECT_TRUE(window->actions().actStart->isEnabled());
    EXPECT_TRUE(window->actions().actCMD8Enter->isEnabled());
    EXPECT_TRUE(window->engine().portsOpen());
}

// The links' states as read at the tick decide the start action and which
// links are reopened. The combos point at a missing port, so a link that is reopened
// ends up closed and one left alone stays open.
TEST_F(AutoconnectTest, LinksLostAtTheTickDecideStartAndReopening) {
    struct Case {
        bool meterLost, thermoLost;
        int runActive;
        bool startBefore, startAfter;
    };
    const Case cases[] = {
        {false, false, 0, false, true},  {true, false, 0, true, false},
        {false, true, 0, true, false},   {true, true, 0, true, false},
        {false, false, 1, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "meter lost " << c.meterLost << ", thermometer lost "
                                        << c.thermoLost << ", run " << c.runActive);
        ManualRunClock clock;
        openWindow(&clock);
        stopTimers();
        Calls calls;
        auto controller = recordingController(calls);
        controller->ApplyPortSettings(TAutoconnect::BothLinks);
        controller->SetLinkOpen(true, TAutoconnect::BothLinks);
        window->ui().cmbPortIMNumber->setEditText("COM9");
        window->ui().cmbPortTempNumber->setEditText("COM9");
        // A watchdog's period without data is what loses a link; the other
        // one's data came a moment later.
        RunEngine &engine = window->engine();
        clock.advance(1);
        if (!c.meterLost) {
            const QByteArray frame = EncodeMeterFrame(MeterDisplayState{});
            std::array<uint8_t, 60> raw{};
            std::copy(frame.begin(), frame.begin() + kFrameSize - 1, raw.begin());
            engine.meterFrame(raw);
        }
        if (!c.thermoLost)
            engine.thermometerLine(MakeThermometerLine(20.0).trimmed());
        clock.advance(engine.periods().WatchdogMs - 1);
        engine.advance();
        ASSERT_EQ(window->meterLink()->isLinkLost(), c.meterLost);
        ASSERT_EQ(window->thermoLink()->isLinkLost(), c.thermoLost);
        if (c.runActive)
            engine.beginRun();
        window->engine().setInstrumentsReady(true);
        window->actions().actStart->setEnabled(c.startBefore);
        calls = {};

        controller->tmrAutoconnectToDeviceTimer();

        EXPECT_EQ(window->actions().actStart->isEnabled(), c.startAfter);
        const bool keypadCalled = !c.meterLost && !c.thermoLost && c.runActive == 0;
        EXPECT_EQ(calls.keypad, keypadCalled ? QList<bool>{true} : QList<bool>{});
        EXPECT_EQ(window->portIM()->isOpen(), !c.meterLost);
        EXPECT_EQ(window->portTemp()->isOpen(), !c.thermoLost);
        EXPECT_EQ(window->engine().portsOpen(), c.meterLost || c.thermoLost ? 0 : 1);
        EXPECT_TRUE(calls.keys.isEmpty()) << "a failed reopening sends no key";
        EXPECT_TRUE(engine.watchdogDueMs(LinkKind::Meter));
        EXPECT_TRUE(engine.watchdogDueMs(LinkKind::Thermometer));
        controller.reset();
        window.reset();
    }
}

TEST_F(AutoconnectTest, MissingPortIsRetriedSilentlyUntilTheDeviceAppears) {
    openWindow();
    window->ui().cmbPortTempNumber->setEditText("COM9");
    ASSERT_TRUE(waitTicks(3));
    EXPECT_FALSE(window->portTemp()->isOpen());
    EXPECT_TRUE(window->portIM()->isOpen());
    EXPECT_FALSE(window->engine().portsOpen());
    EXPECT_FALSE(window->engine().refreshDueMs(LinkKind::Thermometer));
    EXPECT_TRUE(window->engine().watchdogDueMs(LinkKind::Thermometer)) << "keeps the panel red";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    ASSERT_TRUE(QFile::link(bench.thermometer().slavePath(), bench.folder() + "/ports/COM9"));
    EXPECT_TRUE(waitUntil(
        [&] { return window->portTemp()->isOpen() && window->engine().portsOpen(); }, 2000));
    EXPECT_EQ(window->portTemp()->comNumber(), 9);
}

// Needs the meter link, whose watchdog paints the panel red while the meter
// is silent. The window's own controller is swapped for one that counts the
// keys, since a silent meter loses the bytes sent to it.
TEST_F(AutoconnectTest, SilentMeterIsReopenedWithTheEnterKeyAtEveryTickWhileRed) {
    openWindow();
    ASSERT_TRUE(waitUntil([&] { return meterPanel() == panelcolor::LinkOk; }, 3000));
    QTimer *tick = window->timers().tmrAutoconnectToDevice;
    QObject::disconnect(tick, nullptr, window->autoconnect(), nullptr);
    Calls calls;
    auto controller = recordingController(calls);
    QObject::connect(tick, &QTimer::timeout, controller.get(),
                     &TAutoconnect::tmrAutoconnectToDeviceTimer);

    bench.meter().setSilent(3000);
    ASSERT_TRUE(waitUntil([&] { return meterPanel() == panelcolor::LinkLost; }, 2000));
    ASSERT_TRUE(waitTicks(1));
    const int keysBefore = calls.keys.size();
    ASSERT_TRUE(waitTicks(3));
    EXPECT_EQ(calls.keys.mid(keysBefore), QByteArray(3, char(5)));
    EXPECT_TRUE(window->portIM()->isOpen());
    EXPECT_TRUE(window->engine().portsOpen()) << "the reopening succeeds although nothing arrives";
    EXPECT_FALSE(window->actions().actStart->isEnabled());

    ASSERT_TRUE(waitUntil([&] { return meterPanel() == panelcolor::LinkOk; }, 4000));
    ASSERT_TRUE(waitTicks(1));
    const int keysAfter = calls.keys.size();
    ASSERT_TRUE(waitTicks(2));
    EXPECT_EQ(calls.keys.size(), keysAfter) << "a green link is left alone";
    EXPECT_TRUE(window->actions().actStart->isEnabled());
}

TEST_F(AutoconnectTest, ShowingThePortPanelListsFreeAndHeldPortsOnce) {
    SimThermometerOptions spareOptions;
    spareOptions.linkPath = bench.folder() + "/ports/COM7";
    SimThermometer spare(spareOptions);
    ASSERT_TRUE(spare.start());
    openWindow();
    ASSERT_TRUE(waitUntil(
        [&] { return window->portIM()->isOpen() && window->portTemp()->isOpen(); }, 2000));
    const MainWindowUi &ui = window->ui();
    ui.cmbPortTempNumber->setEditText(" COM 4");
    EXPECT_EQ(ui.cmbPortIMNumber->count(), 0);

    ui.chbComPortAndLogVisibility->click();
    EXPECT_TRUE(ui.pnlComPortSettings->isVisible());
    const QStringList expected = {"COM3", "COM4", "COM7"};
    for (QComboBox *box : {ui.cmbPortIMNumber, ui.cmbPortTempNumber}) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        for (const QString &name : expected)
            EXPECT_TRUE(items.contains(name)) << name.toStdString();
        QStringList ours = items;
        ours.removeIf([&](const QString &name) { return !expected.contains(name); });
        EXPECT_EQ(ours, expected) << "in increasing order";
    }
    EXPECT_EQ(ui.cmbPortIMNumber->currentText(), "COM3");
    EXPECT_EQ(ui.cmbPortIMNumber->currentIndex(), ui.cmbPortIMNumber->findText("COM3"));
    EXPECT_EQ(ui.cmbPortTempNumber->currentText(), " COM 4") << "no item equals it exactly";
    EXPECT_EQ(ui.cmbPortTempNumber->currentIndex(), -1);
    EXPECT_TRUE(window->portIM()->isOpen()) << "the probe leaves our links alone";

    // Once filled, the lists are not probed again: a new port stays unlisted.
    SimThermometerOptions lateOptions;
    lateOptions.linkPath = bench.folder() + "/ports/COM8";
    SimThermometer late(lateOptions);
    ASSERT_TRUE(late.start());
    ui.chbComPortAndLogVisibility->click();
    EXPECT_FALSE(ui.pnlComPortSettings->isVisible());
    ui.chbComPortAndLogVisibility->click();
    EXPECT_EQ(ui.cmbPortIMNumber->findText("COM8"), -1);
    stopTimers();
}

TEST_F(AutoconnectTest, PortNumberIsTheDigitsOfTheComboText) {
    openWindow();
    stopTimers();
    const std::pair<const char *, int> cases[] = {{"COM12", 12}, {" COM 12", 12}, {"12", 12},
                                                  {"COM3", 3},   {"none", 65535}, {"", 65535}};
    for (const auto &[text, number] : cases) {
        window->ui().cmbPortIMNumber->setEditText(text);
        window->ui().cmbPortIMBaud->setEditText("19200");
        window->autoconnect()->ApplyPortSettings(TAutoconnect::MeterLink);
        EXPECT_EQ(window->portIM()->comNumber(), number) << text;
        EXPECT_EQ(window->portIM()->baud(), 19200);
    }
}

TEST_F(AutoconnectTest, FailuresReachTheCallerAfterTheClose) {
    openWindow();
    stopTimers();
    TAutoconnect *controller = window->autoconnect();
    controller->ApplyPortSettings(TAutoconnect::MeterLink);
    controller->SetLinkOpen(true, TAutoconnect::MeterLink);
    ASSERT_TRUE(window->portIM()->isOpen());

    window->ui().cmbPortIMBaud->setEditText("fast");
    EXPECT_THROW(controller->ApplyPortSettings(TAutoconnect::MeterLink), std::invalid_argument);
    EXPECT_FALSE(window->portIM()->isOpen());

    // A meter port that cannot open stops kind 0 before the thermometer.
    window->portIM()->setComNumber(9);
    controller->SetLinkOpen(false, TAutoconnect::BothLinks);
    EXPECT_THROW(controller->SetLinkOpen(true, TAutoconnect::BothLinks), EOpenComm);
    EXPECT_FALSE(window->engine().refreshDueMs(LinkKind::Meter));
    EXPECT_FALSE(window->portTemp()->isOpen());
    EXPECT_FALSE(window->engine().refreshDueMs(LinkKind::Thermometer));
}

TEST_F(AutoconnectTest, BitRateThatIsNotANumberKeepsThePortClosedTickAfterTick) {
    openWindow();
    window->ui().cmbPortIMBaud->setEditText("96OO");
    ASSERT_TRUE(waitTicks(3));
    EXPECT_FALSE(window->portIM()->isOpen());
    EXPECT_TRUE(window->portTemp()->isOpen());
    EXPECT_FALSE(window->engine().portsOpen());
    EXPECT_TRUE(bench.meter().keysReceived().isEmpty());

    window->ui().cmbPortIMBaud->setEditText("9600");
    EXPECT_TRUE(waitUntil([&] { return window->engine().portsOpen(); }, 2000));
    EXPECT_TRUE(window->portIM()->isOpen());
}

} // namespace
