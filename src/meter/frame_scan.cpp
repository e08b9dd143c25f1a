#include "meter/frame_scan.h"

#include <algorithm>

uint8_t frameChecksum(const uint8_t *frame) {
    uint8_t sum = 0;
    for (int i = 0; i < kFrameSize - 1; ++i)
        sum = static_cast<uint8_t>(sum + frame[i]);
    return sum;
}

std::vector<MeterFrame> scanReceiveWindow(const QByteArray &window, int reportedCount) {
    std::vector<MeterFrame> frames;
    const int n = std::min<int>(window.size(), kReceiveWindow);
    const auto *bytes = reinterpret_cast<const uint8_t *>(window.constData());
    for (int p = 0; p < reportedCount && p + kFrameSize <= n; ++p) {
        if (bytes[p] != kFrameStart || frameChecksum(bytes + p) != bytes[p + kFrameSize - 1])
            continue;
        MeterFrame frame;
        std::copy_n(bytes + p, frame.size(), frame.begin());
        frames.push_back(frame);
    }
    return frames;
}

std::array<uint8_t, 60> frameToRawData(const MeterFrame &frame) {
    std::array<uint8_t, 60> raw{};
    std::copy(frame.begin(), frame.end(), raw.begin());
    return raw;
}
