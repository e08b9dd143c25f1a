#include "run/link_outage_tracker.h"

#include <gtest/gtest.h>

namespace {

using Events = TLinkOutageTracker::Events;
constexpr TInstrument kMeter = TInstrument::Meter;
constexpr TInstrument kThermo = TInstrument::Thermometer;

const QDateTime kT0(QDate(2026, 12, 11), QTime(3, 0, 0));

QDateTime at(double seconds) {
    return kT0.addMSecs(qint64(seconds * 1000));
}

// A bench where both instruments send every second until told otherwise.
class LinkOutageTest : public ::testing::Test {
protected:
    // Both instruments' data at every second of [from, to], with a poll after each.
    Events bothSendFrom(double from, double to) {
        Events all;
        for (double s = from; s <= to; s += 1) {
            append(all, tracker.dataReceived(kMeter, at(s)));
            append(all, tracker.dataReceived(kThermo, at(s)));
            append(all, tracker.poll(at(s)));
        }
        return all;
    }
    // Only the thermometer sends during [from, to]; the meter is silent.
    Events thermoOnly(double from, double to) {
        Events all;
        for (double s = from; s <= to; s += 1) {
            append(all, tracker.dataReceived(kThermo, at(s)));
            append(all, tracker.poll(at(s)));
        }
        return all;
    }
    static void append(Events &all, const Events &e) {
        all.Began << e.Began;
        all.Ended << e.Ended;
        all.LongSilences << e.LongSilences;
    }

    TLinkOutageTracker tracker{kT0};
};

TEST_F(LinkOutageTest, ASilenceInARunIsOneOutageFromTheLastDataToTheNextAndIsSaidOnceAfterAMinute) {
    bothSendFrom(0, 10);
    tracker.runStarted(at(10));
    bothSendFrom(10, 20);

    // The meter's last frame was at 20 s; it is silent from 21 s on.
    Events silence = thermoOnly(21, 22);
    EXPECT_TRUE(silence.Began.isEmpty()) << "two seconds are no outage yet";
    silence = thermoOnly(23, 100);
    ASSERT_EQ(silence.Began.size(), 1);
    EXPECT_EQ(silence.Began[0], (TLinkOutage{kMeter, at(20), QDateTime()}));
    ASSERT_EQ(silence.LongSilences.size(), 1) << "said once however long it lasts";
    EXPECT_EQ(silence.LongSilences[0].Start, at(20));
    EXPECT_TRUE(silence.Ended.isEmpty());
    EXPECT_EQ(tracker.silentMs(kMeter, at(95)), 75000);
    EXPECT_EQ(tracker.silentMs(kThermo, at(95)), std::nullopt);

    const Events back = tracker.dataReceived(kMeter, at(100.5));
    ASSERT_EQ(back.Ended.size(), 1);
    EXPECT_EQ(back.Ended[0], (TLinkOutage{kMeter, at(20), at(100.5)}));
    EXPECT_EQ(tracker.silentMs(kMeter, at(101)), std::nullopt);

    // A second silence is a second event, said again when it is long.
    bothSendFrom(101, 110);
    const Events again = thermoOnly(111, 180);
    EXPECT_EQ(again.Began.size(), 1);
    EXPECT_EQ(again.LongSilences.size(), 1);
}

TEST_F(LinkOutageTest, SilenceCountsFromTheRunStartAndEndsAtTheStop) {
    // Never a frame from the meter: silent from the tracker's start.
    thermoOnly(0, 30);
    EXPECT_EQ(tracker.silentMs(kMeter, at(30)), 30000);

    Events e = tracker.runStarted(at(30));
    ASSERT_EQ(e.Began.size(), 1);
    EXPECT_EQ(e.Began[0].Start, at(30)) << "the run's outage starts with the run";
    e = thermoOnly(31, 89);
    EXPECT_TRUE(e.LongSilences.isEmpty()) << "59 s of the run";
    e = thermoOnly(90, 91);
    EXPECT_EQ(e.LongSilences.size(), 1);

    e = tracker.runStopped(at(92));
    ASSERT_EQ(e.Ended.size(), 1);
    EXPECT_EQ(e.Ended[0], (TLinkOutage{kMeter, at(30), at(92)}));
    // Outside a run a silence is shown but is no outage.
    e = thermoOnly(96, 200);
    EXPECT_TRUE(e.Began.isEmpty() && e.LongSilences.isEmpty());
    EXPECT_EQ(tracker.silentMs(kMeter, at(200)), 200000);
}

TEST_F(LinkOutageTest, ASilenceNoPollSawIsStillRecordedWhenTheDataComeBack) {
    bothSendFrom(0, 5);
    tracker.runStarted(at(5));
    // Both instruments quiet for 8 s, and nothing polled in between.
    const Events e = tracker.dataReceived(kThermo, at(13));
    ASSERT_EQ(e.Ended.size(), 1);
    EXPECT_EQ(e.Ended[0], (TLinkOutage{kThermo, at(5), at(13)}));
    EXPECT_TRUE(e.LongSilences.isEmpty());
    EXPECT_TRUE(tracker.dataReceived(kMeter, at(14.5)).Ended.size() == 1);
    // Data within the watchdog's three seconds are no outage.
    EXPECT_TRUE(tracker.dataReceived(kMeter, at(17)).isEmpty());
}

TEST_F(LinkOutageTest, BothInstrumentsSilentAreTwoOutages) {
    bothSendFrom(0, 10);
    tracker.runStarted(at(10));
    Events e;
    for (int s = 11; s <= 75; ++s)
        append(e, tracker.poll(at(s)));
    EXPECT_EQ(e.Began.size(), 2);
    EXPECT_EQ(e.LongSilences.size(), 2);
}

} // namespace
