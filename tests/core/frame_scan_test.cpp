#include "meter/frame_scan.h"

#include <gtest/gtest.h>

namespace {

// A good 22-byte frame whose data bytes all hold `fill`.
QByteArray goodFrame(uint8_t fill) {
    QByteArray frame(kFrameSize, char(fill));
    frame[0] = char(kFrameStart);
    uint8_t sum = 0;
    for (int i = 0; i < kFrameSize - 1; ++i)
        sum = uint8_t(sum + uint8_t(frame[i]));
    frame[kFrameSize - 1] = char(sum);
    return frame;
}

MeterFrame framePart(const QByteArray &frame) {
    MeterFrame f;
    std::copy_n(reinterpret_cast<const uint8_t *>(frame.constData()), f.size(), f.begin());
    return f;
}

TEST(FrameScan, ChecksumIsTheByteSumModulo256) {
    const QByteArray frame = goodFrame(0x30); // 0xAA + 20 * 0x30 = 0x46A
    EXPECT_EQ(frameChecksum(reinterpret_cast<const uint8_t *>(frame.constData())), 0x6A);
}

TEST(FrameScan, FindsOnlyGoodFramesStartingBeforeTheReportedCount) {
    const QByteArray a = goodFrame(0x11);
    const QByteArray b = goodFrame(0x22);
    QByteArray badSum = a;
    badSum[kFrameSize - 1] = char(uint8_t(badSum[kFrameSize - 1]) + 1);
    const QByteArray noise("\x01\x02\x03\x04\x05", 5);
    // A stray start byte in the noise whose 21-byte sum runs into the good frame.
    const QByteArray stray = QByteArray("\x07\xAA\x09", 3) + b;

    struct Case {
        const char *name;
        QByteArray window;
        int reported;
        std::vector<MeterFrame> expected;
    };
    const Case cases[] = {
        {"one frame", a, 22, {framePart(a)}},
        {"21 bytes", a.left(21), 21, {}},
        {"checksum off by one", badSum, 22, {}},
        {"noise then frame", noise + a, 6, {framePart(a)}},
        {"frame starts at the reported count", noise + a, 5, {}},
        {"stray start byte", stray, 25, {framePart(b)}},
        {"two frames", a + b, 44, {framePart(a), framePart(b)}},
        {"second frame after the reported count", a + b, 22, {framePart(a)}},
        {"frame beyond the receive window", QByteArray(40, 0) + a, 62, {}},
        {"frame ending at the window's end",
         QByteArray(38, 0) + a + QByteArray(5, 0),
         65,
         {framePart(a)}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(scanReceiveWindow(c.window, c.reported), c.expected) << c.name;
}

TEST(FrameScan, RawDataHoldsTheFrameThenZeros) {
    const QByteArray a = goodFrame(0x5A);
    const std::array<uint8_t, 60> raw = frameToRawData(framePart(a));
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(raw[i], i < kFrameSize - 1 ? uint8_t(a[i]) : 0) << i;
}

} // namespace
