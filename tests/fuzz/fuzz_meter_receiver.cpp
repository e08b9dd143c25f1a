// The meter's frame scanner and decoder, fed the way the receiver feeds them:
// the port's bytes arrive in chunks of any size; a notification that finds a
// whole frame's worth waiting reads one receive window and hands it to the
// scanner with the waiting count; each good frame goes to the event store,
// which decodes it, and clears the rest of the input.
//
// Properties: the frames taken are exactly the good frames (start byte and
// checksum) that start inside the window, in order, none missed; the store
// keeps each one as it came; every reading the decoder shows reads back as a
// number, and its base value is a finite number; frequencies are never negative.
#include "fuzz_check.h"

#include "base/event_rec.h"
#include "base/number_format.h"
#include "meter/frame_scan.h"
#include "model/event_store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

bool goodFrameAt(const QByteArray &bytes, int p) {
    const auto *b = reinterpret_cast<const uint8_t *>(bytes.constData()) + p;
    return b[0] == kFrameStart && frameChecksum(b) == b[kFrameSize - 1];
}

void checkReading(const QString &value, const QString &base, QChar sep, const char *which) {
    if (value.isEmpty())
        return;
    double shown = 0;
    fuzzCheck(numfmt::parseFloat(value, sep, &shown), "a shown reading reads back", value);
    double parsed = 0;
    fuzzCheck(numfmt::parseFloat(base, sep, &parsed) && std::isfinite(parsed),
              "a reading's base value is a finite number",
              QString::fromLatin1(which) + ": " + base);
}

void checkDecoded(const TEventRec &stored, const MeterFrame &frame, QChar sep) {
    fuzzCheck(std::equal(frame.begin(), frame.end(), stored.RawData.begin()) &&
                  std::all_of(stored.RawData.begin() + frame.size(), stored.RawData.end(),
                              [](uint8_t b) { return b == 0; }),
              "the store keeps the frame as it came");
    const TIMPacket &p = stored.IM;
    fuzzCheck(p.FreqHz >= 0, "a frequency is never negative", QString::number(p.FreqHz));
    checkReading(p.MainValue, p.MainBase, sep, "main");
    checkReading(p.SecValue, p.SecBase, sep, "secondary");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QChar sep = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    TMyStorage store(sep);
    QByteArray waiting;
    while (in.remaining_bytes() > 0) {
        const size_t chunk = in.ConsumeIntegralInRange<size_t>(1, 3 * kReceiveWindow);
        const std::string bytes = in.ConsumeBytesAsString(chunk);
        waiting.append(bytes.data(), qsizetype(bytes.size()));

        const int count = int(waiting.size());
        if (count < kFrameSize)
            continue;
        const QByteArray window = waiting.left(kReceiveWindow);
        waiting.remove(0, window.size());

        std::vector<MeterFrame> expected;
        for (int p = 0; p + kFrameSize <= int(window.size()) && p < count; ++p) {
            if (goodFrameAt(window, p)) {
                MeterFrame frame;
                std::copy_n(reinterpret_cast<const uint8_t *>(window.constData()) + p, frame.size(),
                            frame.begin());
                expected.push_back(frame);
            }
        }
        const std::vector<MeterFrame> frames = scanReceiveWindow(window, count);
        fuzzCheck(frames == expected, "the scanner takes every good frame of the window, in order",
                  QString::fromLatin1(window.toHex()));

        for (const MeterFrame &frame : frames) {
            TEventRec E;
            E.Kind = kMeterRecord;
            E.RawData = frameToRawData(frame);
            store.AddEvent(E);
            waiting.clear();
            TEventRec stored;
            fuzzCheck(store.GetLast(kMeterRecord, stored), "a stored frame can be read");
            checkDecoded(stored, frame, sep);
            fuzzCheck(store.LastFrequency() == stored.IM.FreqHz,
                      "the latest frequency is the newest frame's");
        }
    }
    return 0;
}
