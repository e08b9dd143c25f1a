// The meter link end to end: the simulated meter (or a bare pseudo-terminal)
// on one side, the window's replica, store, log and timers on the other.
#include "engine/run_engine.h"
#include "link_window_support.h"

#include "base/event_log.h"
#include "control/meter_link.h"
#include "control/pending_events.h"
#include "control/timers.h"
#include "meter/frame_scan.h"
#include "meter_frame.h"
#include "pty_port.h"
#include "serial/ser_com_port.h"
#include "sim_meter.h"
#include "ui/device_log.h"
#include "ui/meter_display_view.h"
#include "ui/panel_colors.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Field = MeterDisplayView::Field;

const QColor kGreen(panelcolor::LinkOk);
const QColor kRed(panelcolor::LinkLost);
const QColor kYellow(panelcolor::KeyPending);

class MeterLinkTest : public ::testing::Test {
protected:
    MeterDisplayView *display() { return link.window().ui().meterDisplay; }
    DeviceLog *log() { return link.window().ui().reLogIM; }
    // Lines that follow one another closely go into the log together.
    QStringList logLines() { return logLinesTakenSoFar(*log()); }
    const TMyStorage &store() { return link.engine().store(); }
    TMeterLink *meter() { return link.window().meterLink(); }

    TEventRec lastRecord() {
        TEventRec E;
        store().GetLast(kMeterRecord, E);
        return E;
    }
    // Index of the newest meter record, -1 before the first.
    int lastIndex() {
        TEventRec E;
        return store().GetLast(kMeterRecord, E) ? E.Index : -1;
    }
    // Waits for `count` more meter records, calling `each` at every poll.
    bool waitForRecords(int count, const std::function<void()> &each = {}) {
        const int target = lastIndex() + count;
        return waitUntil([&] {
            if (each)
                each();
            return lastIndex() >= target;
        });
    }
    // Keeps the watchdog's empty records out of a test that counts records.
    void quietWatchdog() {
        RunPeriods periods = link.engine().periods();
        periods.WatchdogMs = 60000;
        link.engine().setPeriods(periods);
    }
    bool hidden(Field field) { return !display()->label(field)->isVisibleTo(display()); }

    SimulatedBench bench;
    LinkWindow link{bench};
};

// A frame as the meter sends it: 1 kHz unless told otherwise, Cp in nF and D.
QByteArray frame(int frequencyHz = 1000) {
    MeterDisplayState s;
    const FrequencyDigits f = EncodeFrequency(frequencyHz);
    s.frequencyMantissa = f.mantissa;
    s.frequencyExponent = f.exponent;
    s.main = {12345, 244};
    s.secondary = {50, 250};
    return EncodeMeterFrame(s);
}

TEST_F(MeterLinkTest, FramesFromTheMeterAreShownOnTheReplica) {
    link.openMeter();
    ASSERT_TRUE(waitUntil([&] { return display()->caption(Field::RLC) == QLatin1String("Cp"); }));

    EXPECT_EQ(display()->panelColor(), kGreen);
    EXPECT_EQ(store().LastFrequency(), 1000);
    EXPECT_EQ(display()->caption(Field::DQ), QStringLiteral("D"));
    EXPECT_EQ(display()->caption(Field::RLCValue), QStringLiteral("100,00 nF"));
    EXPECT_EQ(display()->caption(Field::DQValue), QStringLiteral("0,0050   "));
    EXPECT_EQ(display()->caption(Field::Frequency), QStringLiteral("1kHz"));
    EXPECT_EQ(display()->caption(Field::Level), QStringLiteral("1,00V"));
    EXPECT_EQ(display()->caption(Field::Offset), QStringLiteral("0,00V"));
    EXPECT_EQ(display()->caption(Field::Limit), QStringLiteral("A 10kOm"));
    EXPECT_EQ(display()->caption(Field::Value1), QStringLiteral("1E-7"));
    EXPECT_EQ(display()->caption(Field::Value2), QStringLiteral("0,005"));
    for (int mark = 1; mark <= 4; ++mark)
        EXPECT_FALSE(display()->isModeMarkVisible(mark)) << "F" << mark;
    EXPECT_FALSE(hidden(Field::DQ));
}

TEST_F(MeterLinkTest, ModeMarksAndTheCurrentModeFollowTheMetersKeys) {
    link.openMeter();
    ASSERT_TRUE(waitForRecords(1));
    const MainActions &actions = link.window().actions();

    actions.actCMDF1->trigger();
    actions.actCMDF3->trigger();
    EXPECT_TRUE(waitUntil([&] {
        return display()->isModeMarkVisible(1) && !display()->isModeMarkVisible(2) &&
               display()->isModeMarkVisible(3) && !display()->isModeMarkVisible(4);
    }));

    // "I" makes the meter measure current: no secondary quantity, level or frequency.
    actions.actCMD4DQ->trigger();
    ASSERT_TRUE(waitUntil([&] { return display()->caption(Field::RLC) == QLatin1String("I"); }));
    for (Field f : {Field::DQ, Field::DQValue, Field::Level, Field::Frequency})
        EXPECT_TRUE(hidden(f)) << int(f);
    EXPECT_TRUE(display()->caption(Field::RLCValue).endsWith(QLatin1Char('A')));
    EXPECT_TRUE(display()->caption(Field::Limit).endsWith(QLatin1String("mA")));

    actions.actCMD1C->trigger();
    ASSERT_TRUE(waitUntil([&] { return display()->caption(Field::RLC) == QLatin1String("Cp"); }));
    for (Field f : {Field::DQ, Field::DQValue, Field::Level, Field::Frequency})
        EXPECT_FALSE(hidden(f)) << int(f);
}

TEST_F(MeterLinkTest, EveryKeyWritesItsCode) {
    const QList<QAction *> keys = link.window().actions().keypadActions();
    // F1..F4, then the twelve keys in the order of the action list.
    const QByteArray codes = QByteArray::fromHex("0F0E0D0C0B07030A0602090501080400");
    link.openMeter();
    for (QAction *key : keys)
        key->trigger();
    ASSERT_TRUE(waitUntil([&] { return bench.meter().keysReceived().size() >= 16; }));
    EXPECT_EQ(bench.meter().keysReceived().toHex(), codes.toHex());

    // A disabled keypad (during a run) sends nothing; enabled again it does.
    meter()->SetKeypadEnabled(false);
    for (QAction *key : keys) {
        EXPECT_FALSE(key->isEnabled()) << key->objectName().toStdString();
        key->trigger();
    }
    meter()->SetKeypadEnabled(true);
    link.window().actions().actCMD8Enter->trigger();
    ASSERT_TRUE(waitUntil([&] { return bench.meter().keysReceived().size() >= 17; }));
    EXPECT_EQ(bench.meter().keysReceived().mid(16).toHex(), QByteArray("05"));
}

TEST_F(MeterLinkTest, AKeyMarksTheFrequencyAndRestartsThePacketCount) {
    const RunEngine &engine = link.engine();
    link.openMeter();
    ASSERT_TRUE(waitForRecords(2));
    ASSERT_GT(store().MeterSinceKey(), 0);
    ASSERT_EQ(engine.freqAfterKeyPress(), 1000);

    meter()->SendKey(meterkey::Enter);
    EXPECT_EQ(engine.freqAtKeyPress(), 0);
    EXPECT_EQ(engine.freqAfterKeyPress(), 0);
    EXPECT_EQ(store().MeterSinceKey(), 0);

    meter()->SendKey(meterkey::Right);
    EXPECT_EQ(engine.freqAtKeyPress(), 1000);
    EXPECT_EQ(engine.freqAfterKeyPress(), 0);
    ASSERT_TRUE(waitForRecords(1));
    EXPECT_EQ(store().MeterSinceKey(), 1);
    EXPECT_EQ(engine.freqAfterKeyPress(), 1000) << "the meter did not take > without F3";
}

TEST_F(MeterLinkTest, KeysOnAClosedPortAreLostWithoutTouchingTheCounters) {
    const RunEngine &engine = link.engine();
    link.openMeter();
    ASSERT_TRUE(waitForRecords(2));
    link.window().portIM()->setOpen(false);
    link.engine().setLinkOpen(LinkKind::Meter, false);
    const int sinceKey = store().MeterSinceKey();
    ASSERT_GT(sinceKey, 0);
    ASSERT_EQ(engine.freqAfterKeyPress(), 1000);
    meter()->SendKey(meterkey::Right);
    link.window().actions().actCMDF3->trigger();
    EXPECT_EQ(engine.freqAtKeyPress(), 0);
    EXPECT_EQ(engine.freqAfterKeyPress(), 1000);
    EXPECT_EQ(store().MeterSinceKey(), sinceKey);
    EXPECT_TRUE(bench.meter().keysReceived().isEmpty());

    // Only the key pressed after opening again reaches the meter.
    link.openMeter();
    link.window().actions().actCMD8Enter->trigger();
    ASSERT_TRUE(waitUntil([&] { return !bench.meter().keysReceived().isEmpty(); }));
    ASSERT_TRUE(waitForRecords(1));
    EXPECT_EQ(bench.meter().keysReceived().toHex(), QByteArray("05"));
}

TEST_F(MeterLinkTest, AFrequencyKeyTheMeterIgnoresTurnsThePanelYellow) {
    link.openMeter();
    ASSERT_TRUE(waitForRecords(1));

    // Enter is no frequency key: never yellow.
    meter()->SendKey(meterkey::Enter);
    bool yellow = false;
    ASSERT_TRUE(waitForRecords(5, [&] { yellow |= display()->panelColor() == kYellow; }));
    EXPECT_FALSE(yellow);

    // Without F3 the meter ignores ">": its frames keep the old frequency.
    meter()->SendKey(meterkey::Right);
    EXPECT_TRUE(waitUntil([&] { return display()->panelColor() == kYellow; }));

    // With F3 it takes the key; once the new frequency shows, no more yellow.
    meter()->SendKey(meterkey::F3);
    ASSERT_TRUE(waitUntil([&] { return bench.meter().model().f3On(); }));
    meter()->SendKey(meterkey::Right);
    ASSERT_TRUE(waitUntil([&] { return store().LastFrequency() > 1000; }));
    yellow = false;
    ASSERT_TRUE(waitForRecords(5, [&] { yellow |= display()->panelColor() == kYellow; }));
    EXPECT_FALSE(yellow);
    EXPECT_EQ(store().LastFrequency(), bench.meter().frequency());
}

TEST_F(MeterLinkTest, SilentMeterTurnsRedKeepsTheLastReadingAndRecovers) {
    int captured = 0;
    QObject::connect(&link.engine(), &RunEngine::meterShown, [&](const TEventRec &E) {
        ++captured;
        EXPECT_EQ(E.IM.FreqHz, 1000);
    });
    link.openMeter();
    ASSERT_TRUE(waitUntil([&] { return captured > 0 && display()->panelColor() == kGreen; }));

    QStringList shown;
    for (int f = 0; f < MeterDisplayView::FieldCount; ++f)
        shown << display()->caption(Field(f));

    const QDateTime lastData = meter()->linkState().LastData;
    EXPECT_TRUE(lastData.isValid());
    EXPECT_FALSE(meter()->isLinkLost());
    bench.meter().setSilent(1500);
    ASSERT_TRUE(waitUntil([&] { return display()->panelColor() == kRed; }));
    EXPECT_TRUE(meter()->isLinkLost());
    const int capturedBeforeLoss = captured;
    // Frames on their way when the meter fell silent are logged before the loss.
    const int linesBefore = logLines().size();
    // Two more watchdog ticks: empty records, no log lines, nothing shown or captured.
    ASSERT_TRUE(waitForRecords(2));
    EXPECT_EQ(display()->panelColor(), kRed);
    EXPECT_EQ(store().LastFrequency(), 0);
    EXPECT_EQ(link.engine().freqAfterKeyPress(), 0);
    EXPECT_EQ(lastRecord().RawData, (std::array<uint8_t, 60>{}));
    EXPECT_EQ(logLines().size(), linesBefore);
    EXPECT_EQ(captured, capturedBeforeLoss);
    for (int f = 0; f < MeterDisplayView::FieldCount; ++f)
        EXPECT_EQ(display()->caption(Field(f)), shown[f]) << f;

    ASSERT_TRUE(waitUntil([&] { return store().LastFrequency() == 1000; }, 3000));
    EXPECT_TRUE(waitUntil([&] { return captured > capturedBeforeLoss; }));
    EXPECT_EQ(display()->panelColor(), kGreen);
    EXPECT_FALSE(meter()->isLinkLost());
    EXPECT_GT(meter()->linkState().LastData, lastData);
}

// Faulty bytes between the simulator's frames: every record is one of its frames.
TEST_F(MeterLinkTest, NoiseAndBadFramesFromTheMeterLeaveOnlyItsGoodFrames) {
    QSet<QByteArray> sent;
    QObject::connect(&bench.meter(), &SimMeter::frameSent,
                     [&](const QByteArray &f) { sent.insert(f.left(kFrameSize - 1)); });
    link.openMeter();
    ASSERT_TRUE(waitForRecords(1));
    const int firstLine = logLines().size();

    for (int i = 0; i < 5; ++i) {
        bench.meter().sendNoise(13);
        bench.meter().sendBadChecksumFrame();
        ASSERT_TRUE(waitForRecords(2));
    }
    EXPECT_EQ(display()->panelColor(), kGreen);
    const QStringList lines = logLines();
    ASSERT_GT(lines.size(), firstLine);
    for (const QString &line : lines.mid(firstLine)) {
        const QByteArray raw = QByteArray::fromHex(line.section(QLatin1String("->"), 1).toLatin1());
        EXPECT_TRUE(sent.contains(raw.left(kFrameSize - 1))) << line.toStdString();
        EXPECT_EQ(raw.mid(kFrameSize - 1), QByteArray(60 - (kFrameSize - 1), '\0'));
    }
}

struct ReadCase {
    const char *name;
    QByteArray bytes;
    int records;
};

// One read from a bare line: which frames the receiver accepts.
TEST_F(MeterLinkTest, EachReadGivesTheGoodFramesItHolds) {
    const QByteArray good = frame();
    QByteArray badSum = good;
    badSum[kFrameSize - 1] = char(badSum[kFrameSize - 1] + 1);
    const QByteArray stray = QByteArray::fromHex("01AA030405");
    ASSERT_NE(frameChecksum(reinterpret_cast<const uint8_t *>((stray + good).constData() + 1)),
              uint8_t((stray + good)[1 + kFrameSize - 1]));
    const ReadCase cases[] = {
        {"one frame", good, 1},
        {"checksum off by one", badSum, 0},
        {"noise before the frame", QByteArray::fromHex("0102030405") + good, 1},
        {"stray start byte in the noise", stray + good, 1},
        {"bad frame, then a good one", badSum + good, 1},
    };
    auto line = openRawLine(bench, 7);
    link.openMeter(7);
    quietWatchdog();

    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        const int index = lastIndex();
        const int lines = logLines().size();
        const bool flash = display()->isFlashVisible();
        ASSERT_TRUE(deliverMeterBytes(link, *line, c.bytes));
        EXPECT_EQ(lastIndex() - index, c.records);
        EXPECT_EQ(logLines().size() - lines, c.records);
        EXPECT_EQ(display()->isFlashVisible(), flash != (c.records % 2 == 1));
        if (c.records > 0) {
            const TEventRec E = lastRecord();
            EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(E.RawData.data()), kFrameSize - 1),
                      good.left(kFrameSize - 1));
        }
    }
}

TEST_F(MeterLinkTest, TwoFramesInOneReadAreBothStoredInOrder) {
    auto line = openRawLine(bench, 7);
    link.openMeter(7);
    quietWatchdog();
    const QByteArray first = frame(1000);
    const QByteArray second = frame(5000);
    const bool flash = display()->isFlashVisible();

    const int index = lastIndex();
    ASSERT_TRUE(deliverMeterBytes(link, *line, first + second));
    EXPECT_EQ(lastIndex(), index + 2);
    const TEventRec E = lastRecord();
    EXPECT_EQ(E.IM.FreqHz, 5000);
    EXPECT_EQ(E.Frequency, 1000) << "the first frame was stored before it";
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    const QString a = lines[0];
    const QString b = lines[1];
    const QByteArray firstRaw = first.left(kFrameSize - 1) + QByteArray(60 - (kFrameSize - 1), 0);
    EXPECT_EQ(a.section(QLatin1String("->"), 1), QString::fromLatin1(firstRaw.toHex().toUpper()));
    EXPECT_EQ(b, LogLine(E, RawToHex(E), QLocale::system()));
    EXPECT_EQ(a.section(QLatin1String("->"), 0, 0), b.section(QLatin1String("->"), 0, 0));
    EXPECT_EQ(display()->isFlashVisible(), flash);
}

// Fewer than 22 bytes wait in the port: no refresh falls due; the whole frame
// makes the refresh, the watchdog and the pace of the steps due.
TEST_F(MeterLinkTest, AFrameSplitAcrossReadsIsTakenWhenComplete) {
    auto line = openRawLine(bench, 7);
    link.openMeter(7);
    quietWatchdog();
    const TestWindow &window = link.window();
    const QByteArray good = frame();

    const int index = lastIndex();
    const int before = link.meterNotifications();
    ASSERT_TRUE(line->write(good.left(10)));
    ASSERT_TRUE(waitUntil([&] { return link.meterNotifications() > before; }));
    EXPECT_EQ(window.portIM()->InCount(), 10);
    EXPECT_FALSE(link.engine().refreshDueMs(LinkKind::Meter));
    EXPECT_EQ(lastIndex(), index);

    ASSERT_TRUE(deliverMeterBytes(link, *line, good.mid(10)));
    EXPECT_EQ(lastIndex(), index + 1);
    EXPECT_EQ(store().LastFrequency(), 1000);
    EXPECT_TRUE(link.engine().refreshDueMs(LinkKind::Meter));
    EXPECT_TRUE(link.engine().watchdogDueMs(LinkKind::Meter));
    EXPECT_TRUE(window.timers().tmrRun->isActive());
}

// A meter that sends faster than the refresh's period: the display and the
// capture keep up with it, each refresh with the newest frame, instead of
// waiting for a pause that never comes.
TEST_F(MeterLinkTest, FramesFasterThanTheRefreshStillRefreshTheDisplayAndTheCapture) {
    auto line = openRawLine(bench, 7);
    link.openMeter(7);
    quietWatchdog();
    // The program's own period: the frames below come far more often.
    RunPeriods periods = link.engine().periods();
    periods.DisplayRefreshMs = RunPeriods{}.DisplayRefreshMs;
    link.engine().setPeriods(periods);
    int refreshes = 0;
    QObject::connect(&link.engine(), &RunEngine::meterShown, [&](const TEventRec &E) {
        ++refreshes;
        EXPECT_EQ(E.Index, lastIndex()) << "the newest frame";
        EXPECT_EQ(display()->caption(Field::RLCValue), E.IM.MainValue + ' ' + E.IM.MainUnit);
    });

    // Each frame as soon as the one before is stored, a reading that changes every time.
    int frames = 0;
    for (; refreshes < 3 && frames < 5000; ++frames) {
        MeterDisplayState s;
        s.main = {int32_t(10000 + frames % 1000), 244};
        ASSERT_TRUE(deliverMeterBytes(link, *line, EncodeMeterFrame(s)));
    }
    EXPECT_EQ(refreshes, 3) << "after " << frames << " frames";
}

// The log fills while it is hidden (its usual state); shown, it keeps the newest line in view.
TEST_F(MeterLinkTest, LogLinesCarryTimeAndHexAndTheNewestIsInView) {
    link.openMeter();
    ASSERT_TRUE(waitUntil([&] { return logLines().size() >= 15; }));
    link.window().ui().pnlComPortSettings->show();
    link.window().show();
    LetPendingEventsRun();

    const TEventRec E = lastRecord();
    EXPECT_EQ(logLines().last(), LogLine(E, RawToHex(E), QLocale::system()));
    EXPECT_EQ(RawToHex(E).size(), 120);
    QScrollBar *bar = log()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    // The lines are wider than the log; the view stays at their start, where the
    // time and the frame's bytes are, not at the trailing zeros.
    QScrollBar *across = log()->horizontalScrollBar();
    EXPECT_GT(across->maximum(), 0);
    EXPECT_EQ(across->value(), 0);

    // Scrolled back, the log still follows the next line.
    bar->setValue(0);
    const int count = logLines().size();
    ASSERT_TRUE(
        waitUntil([&] { return logLines().size() > count && bar->value() == bar->maximum(); }));
    EXPECT_EQ(across->value(), 0);
}

} // namespace
