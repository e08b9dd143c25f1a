#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

// The meter streams its display as 22-byte frames: start byte 0xAA, 20 bytes
// of display data and a checksum byte (sum of the first 21 bytes, modulo 256).
constexpr int kFrameSize = 22;
constexpr uint8_t kFrameStart = 0xAA;
// One notification reads at most this many bytes, the width of a record's RawData.
constexpr int kReceiveWindow = 60;

// A checked frame without its checksum byte: what a meter record keeps.
using MeterFrame = std::array<uint8_t, kFrameSize - 1>;

// Sum of the 21 bytes starting at `frame`, modulo 256.
uint8_t frameChecksum(const uint8_t *frame);

// Finds the good frames in one receive window. Only the first kReceiveWindow
// bytes of `window` are looked at, and a frame may start only before
// `reportedCount` (the unread count the port announced). Every start byte is
// checked on its own, so a stray 0xAA in noise does not hide a frame after it.
// Frames come back in the order found.
std::vector<MeterFrame> scanReceiveWindow(const QByteArray &window, int reportedCount);

// RawData of a meter record: the frame followed by zero bytes.
std::array<uint8_t, 60> frameToRawData(const MeterFrame &frame);
