// The thermometer link end to end: the simulated thermometer (or a bare
// pseudo-terminal) on one side, the window's display, store, log and timers on
// the other.
#include "link_window_support.h"

#include "base/event_log.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "pty_port.h"
#include "serial/ser_com_port.h"
#include "sim_thermometer.h"
#include "thermo_line.h"
#include "ui/device_log.h"
#include "ui/panel_colors.h"
#include "ui/thermo_display_view.h"

#include <QLocale>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QColor kGreen(panelcolor::LinkOk);
const QColor kRed(panelcolor::LinkLost);

class ThermoLinkTest : public ::testing::Test {
protected:
    ThermoDisplayView *display() { return link.window().ui().thermoDisplay; }
    const TMyStorage &store() { return link.engine().store(); }
    TThermoLink *thermo() { return link.window().thermoLink(); }
    // Keeps the watchdog's empty records out of a test that counts records.
    void quietWatchdog() {
        RunPeriods periods = link.engine().periods();
        periods.WatchdogMs = 60000;
        link.engine().setPeriods(periods);
    }
    QStringList logLines() { return logLinesTakenSoFar(*link.window().ui().reLogTemp); }
    TEventRec lastRecord() {
        TEventRec R;
        store().GetLast(kTempRecord, R);
        return R;
    }
    int lastIndex() {
        TEventRec R;
        return store().GetLast(kTempRecord, R) ? R.Index : -1;
    }

    SimulatedBench bench;
    LinkWindow link{bench};
};

QByteArray line(const char *temperature, const QByteArray &end = "\r") {
    const QByteArray body = QByteArray("DS1820,1,OK,2,") + temperature + ",5,6,7,8";
    return '$' + body + '*' + ThermometerChecksum(body) + end;
}

TEST_F(ThermoLinkTest, LinesShowTheTemperatureAndFeedTheCapture) {
    double captured = 0;
    QObject::connect(thermo(), &TThermoLink::temperatureShown,
                     [&](const QDateTime &, double t) { captured = t; });
    display()->setPanelColor(kRed);
    link.openThermo();
    ASSERT_TRUE(waitUntil([&] { return captured == 20.0; }));
    EXPECT_EQ(display()->temperatureText(), QStringLiteral("20.00"));
    EXPECT_EQ(display()->panelColor(), kGreen);

    // The log line carries the whole line as received, without its line end.
    const TEventRec R = lastRecord();
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(R.RawData.data()));
    EXPECT_TRUE(text.startsWith(QLatin1String("$DS1820,1,OK,"))) << text.toStdString();
    EXPECT_EQ(logLines().last(), LogLine(R, text, QLocale::system()));
}

TEST_F(ThermoLinkTest, AGarbledLineShowsColonsAndLeavesThePanelGreen) {
    auto rawLine = openRawLine(bench, 8);
    link.openThermo(8);
    quietWatchdog();
    ASSERT_TRUE(deliverThermoBytes(link, *rawLine, line("23.50")));
    ASSERT_TRUE(waitUntil([&] { return display()->temperatureText() == QLatin1String("23.50"); }));
    ASSERT_EQ(display()->panelColor(), kGreen);

    QByteArray garbled = line("23.50");
    garbled[garbled.indexOf('*') + 1] = '0';
    ASSERT_TRUE(deliverThermoBytes(link, *rawLine, garbled));
    ASSERT_TRUE(waitUntil([&] { return display()->temperatureText() == QLatin1String("::"); }));
    EXPECT_EQ(display()->panelColor(), kGreen);
    EXPECT_TRUE(std::isnan(store().LastTemperature()));
}

TEST_F(ThermoLinkTest, SilenceTurnsRedShowsColonsAndRecovers) {
    link.openThermo();
    ASSERT_TRUE(waitUntil([&] { return display()->temperatureText() == QLatin1String("20.00"); }));

    bench.thermometer().setSilent(800);
    ASSERT_TRUE(waitUntil([&] { return display()->panelColor() == kRed; }));
    ASSERT_TRUE(waitUntil([&] { return display()->temperatureText() == QLatin1String("::"); }));
    const TEventRec R = lastRecord();
    EXPECT_EQ(R.RawData, (std::array<uint8_t, 60>{}));
    EXPECT_FALSE(R.Temp.Valid);
    EXPECT_TRUE(std::isnan(store().LastTemperature()));

    ASSERT_TRUE(waitUntil([&] { return display()->panelColor() == kGreen; }, 3000));
    EXPECT_EQ(display()->temperatureText(), QStringLiteral("20.00"));
}

// A temperature that is not a number must not cut the notification short: the
// lines after it are stored and the watchdog is switched on again.
struct RawLinesCase {
    const char *name;
    QByteArray bytes;
    QStringList logged;
    bool lastValid;
    const char *lastText;
};

TEST_F(ThermoLinkTest, EveryLineOfANotificationIsLoggedAndStored) {
    const QByteArray bad = line("--.--");
    const QByteArray good = line("23.50");
    const QByteArray tooLong = line("23.50,0123456789012345678901234567890123456789");
    auto trimmed = [](const QByteArray &l) { return QString::fromLatin1(l.trimmed()); };
    const RawLinesCase cases[] = {
        {"non-numeric temperature", bad, {trimmed(bad)}, false, "::"},
        {"non-numeric, then a good line", bad + good, {trimmed(bad), trimmed(good)}, true, "23.50"},
        {"good line ending in CR LF, then a non-numeric one",
         line("23.50", "\r\n") + bad,
         {trimmed(good), trimmed(bad)},
         false,
         "::"},
        {"longer than the record holds", tooLong, {trimmed(tooLong)}, false, "::"},
    };
    auto rawLine = openRawLine(bench, 8);
    link.openThermo(8);
    quietWatchdog();

    for (const RawLinesCase &c : cases) {
        SCOPED_TRACE(c.name);
        const int index = lastIndex();
        const int logged = logLines().size();
        ASSERT_TRUE(deliverThermoBytes(link, *rawLine, c.bytes));

        EXPECT_EQ(lastIndex() - index, c.logged.size());
        const QStringList lines = logLines().mid(logged);
        ASSERT_EQ(lines.size(), c.logged.size());
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].section(QLatin1String("->"), 1), c.logged[i]);
        const TEventRec R = lastRecord();
        EXPECT_EQ(R.Kind, kTempRecord);
        EXPECT_EQ(R.Temp.Valid, c.lastValid);
        EXPECT_EQ(R.Temp.TempText, QLatin1String(c.lastText));
        EXPECT_EQ(std::isnan(store().LastTemperature()), !c.lastValid);
        EXPECT_TRUE(link.engine().watchdogDueMs(LinkKind::Thermometer));
        EXPECT_TRUE(link.engine().refreshDueMs(LinkKind::Thermometer));
    }
}

// Non-numeric lines between good ones: the link stays green, and once the
// thermometer falls silent the watchdog still fires.
TEST_F(ThermoLinkTest, NonNumericLinesNeitherTripNorDisarmTheWatchdog) {
    link.openThermo();
    ASSERT_TRUE(waitUntil([&] { return display()->temperatureText() == QLatin1String("20.00"); }));

    QTimer faults;
    QObject::connect(&faults, &QTimer::timeout,
                     [&] { bench.thermometer().sendFaultyLine(ThermoLineFault::NonNumeric); });
    faults.start(70);
    const int target = bench.thermometer().linesSent() + 8;
    bool red = false;
    ASSERT_TRUE(waitUntil([&] {
        red |= display()->panelColor() == kRed;
        return bench.thermometer().linesSent() >= target;
    }));
    EXPECT_FALSE(red);

    // The last line before the silence is a non-numeric one.
    faults.stop();
    bench.thermometer().sendFaultyLine(ThermoLineFault::NonNumeric);
    ASSERT_TRUE(waitUntil([&] {
        const TEventRec R = lastRecord();
        return QByteArray(reinterpret_cast<const char *>(R.RawData.data())).contains("--.--");
    }));
    bench.thermometer().setSilent(2000);
    EXPECT_TRUE(waitUntil([&] { return display()->panelColor() == kRed; }, 1500));
}

} // namespace
