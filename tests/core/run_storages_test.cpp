#include "run/freq_storage.h"
#include "run/temp_storage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TTempStorage tableOf(double init, double final, double diff) {
    TTempStorage storage;
    storage.TempInit = init;
    storage.TempFinal = final;
    storage.TempStep = 1.0;
    storage.TempDiff = diff;
    return storage;
}

TEST(TempStorage, InRangeWidensTheTableByTheToleranceInclusively) {
    struct Case {
        double init, final, t;
        bool expected;
    } const cases[] = {
        // ascending
        {-50, 30, -50.29, true},
        {-50, 30, 30.29, true},
        {-50, 30, 30.31, false},
        {-50, 30, -50.31, false},
        {-50, 30, 0, true},
        // descending: the final temperature is the lower bound
        {30, -50, -50.29, true},
        {30, -50, 30.29, true},
        {30, -50, 30.31, false},
        {30, -50, -50.31, false},
        // equal bounds: the band around the single set point
        {20, 20, 20.29, true},
        {20, 20, 19.71, true},
        {20, 20, 20.31, false},
        {20, 20, 19.69, false},
        // an unknown temperature is never in range
        {-50, 30, kNaN, false},
        {30, -50, kNaN, false},
        {20, 20, kNaN, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tableOf(c.init, c.final, 0.3).InRange(c.t), c.expected)
            << c.init << ".." << c.final << " t=" << c.t;
}

TEST(TempStorage, InRangeBoundsAreInclusive) {
    const TTempStorage storage = tableOf(-50, 30, 0.5);
    EXPECT_TRUE(storage.InRange(-50.5));
    EXPECT_TRUE(storage.InRange(30.5));
}

TEST(TempStorage, FindTempTakesTheFirstSetPointStrictlyWithinTheTolerance) {
    TTempStorage storage = tableOf(-50, 30, 0.3);
    for (int t = -50; t <= 30; ++t)
        storage.Add({double(t), t + 51, 0});

    const TTempItem near = storage.FindTemp(-49.75);
    EXPECT_EQ(near.Row, 1);
    EXPECT_EQ(near.Index, 0);
    EXPECT_EQ(near.SetPoint, -50.0);
    EXPECT_EQ(storage.FindTemp(21.8).Row, 73); // the row of 22

    for (double t : {-49.5, 21.5, 40.0, kNaN}) {
        const TTempItem none = storage.FindTemp(t);
        EXPECT_EQ(none.Index, -1) << t;
        EXPECT_EQ(none.Row, 0) << t;
        EXPECT_EQ(none.SetPoint, 0.0) << t;
    }
}

TEST(TempStorage, FindTempToleranceIsStrict) {
    TTempStorage storage = tableOf(0, 10, 0.5);
    storage.Add({0.0, 1, 0});
    EXPECT_EQ(storage.FindTemp(0.5).Index, -1);
    EXPECT_EQ(storage.FindTemp(0.4999).Index, 0);
}

TEST(TempStorage, OverlappingBandsGoToTheEarlierRow) {
    TTempStorage storage = tableOf(0, 0.5, 0.3);
    storage.Add({0.0, 1, 0});
    storage.Add({0.5, 2, 0});
    EXPECT_EQ(storage.FindTemp(0.25).Row, 1);
    EXPECT_EQ(storage.FindTemp(0.35).Row, 2);
}

TEST(TempStorage, AddNumbersItemsByPositionAndClearKeepsParameters) {
    TTempStorage storage = tableOf(-5, 5, 0.3);
    storage.Add({1.0, 1, 99});
    storage.Add({2.0, 2, 99});
    ASSERT_EQ(storage.Count(), 2);
    EXPECT_EQ(storage.Items[0].Index, 0);
    EXPECT_EQ(storage.Items[1].Index, 1);

    storage.Clear();
    EXPECT_EQ(storage.Count(), 0);
    EXPECT_EQ(storage.TempInit, -5.0);
    EXPECT_EQ(storage.TempFinal, 5.0);
    EXPECT_EQ(storage.TempDiff, 0.3);
    storage.Add({3.0, 1, 7});
    EXPECT_EQ(storage.Items[0].Index, 0);
}

TFreqStorage storageOf(std::initializer_list<int> freqs) {
    TFreqStorage storage;
    int col = 2;
    for (int f : freqs)
        storage.Add({f, col++, 0});
    return storage;
}

TEST(FreqStorage, NextFreqWrapsFromTheHighestToTheLowest) {
    const TFreqStorage storage = storageOf({100, 1000, 5000});
    const struct {
        int f, next;
    } cases[] = {{100, 1000}, {5000, 100}, {7, 100}, {2000, 5000}, {1000000, 100}, {999, 1000}};
    for (const auto &c : cases)
        EXPECT_EQ(storage.NextFreq(c.f), c.next) << c.f;
    EXPECT_EQ(TFreqStorage().NextFreq(100), 0);
}

TEST(FreqStorage, FindFreqReturnsTheLastMatchOrIndexMinusOne) {
    TFreqStorage storage = storageOf({100, 1000, 1000});
    EXPECT_TRUE(storage.Contains(1000));
    EXPECT_FALSE(storage.Contains(5000));

    const TFreqItem found = storage.FindFreq(1000);
    EXPECT_EQ(found.Col, 4);
    EXPECT_EQ(found.Index, 2);

    const TFreqItem none = storage.FindFreq(5000);
    EXPECT_EQ(none.Freq, 0);
    EXPECT_EQ(none.Col, 0);
    EXPECT_EQ(none.Index, -1);

    storage.Clear();
    EXPECT_EQ(storage.Count(), 0);
    EXPECT_FALSE(storage.Contains(100));
}

TEST(FreqStorage, AddIgnoresTheIndexPassedIn) {
    TFreqStorage storage;
    storage.Add({100, 2, 99});
    storage.Add({1000, 3, 99});
    EXPECT_EQ(storage.Items[0].Index, 0);
    EXPECT_EQ(storage.Items[1].Index, 1);
}

} // namespace
