// Cost of one received meter frame and one thermometer line on their way
// from the bytes of a notification into the event store.
#include "meter/frame_scan.h"
#include "meter/meter_decode.h"
#include "model/event_store.h"
#include "thermo/line_assembler.h"
#include "thermo/temp_parse.h"

#include <benchmark/benchmark.h>

namespace {

const QChar kComma(',');

// Eight bytes of noise (one stray start byte among them), then the sample
// frame Rp 123,45 kOm / D 12,345 at 1000 Hz, then noise up to 60 bytes.
QByteArray receiveWindow() {
    QByteArray frame = QByteArray::fromHex("AA000002E80300020004020D393000FD3930000104");
    frame.append(char(frameChecksum(reinterpret_cast<const uint8_t *>(frame.constData()))));
    QByteArray window = QByteArray::fromHex("0102AA0304050607") + frame;
    window.append(QByteArray(kReceiveWindow - window.size(), '\x55'));
    return window;
}

void BM_MeterWindowToStore(benchmark::State &state) {
    const QByteArray window = receiveWindow();
    TMyStorage store(kComma);
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        for (const MeterFrame &frame : scanReceiveWindow(window, window.size())) {
            TEventRec E;
            E.Kind = kMeterRecord;
            E.Time = now;
            E.RawData = frameToRawData(frame);
            store.AddEvent(E);
        }
    }
    if (store.LastFrequency() != 1000)
        state.SkipWithError("the frame was not found in the window");
}
BENCHMARK(BM_MeterWindowToStore);

void BM_ThermoLineToStore(benchmark::State &state) {
    const QByteArray bytes("$DS1820,1,OK,2,23.50,5,6,7,8*3D\r\n");
    TempLineAssembler assembler;
    TMyStorage store(kComma);
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        for (const QByteArray &line : assembler.feed(bytes))
            store.AddEvent(TempRecordFromLine(line, now));
    }
    if (store.LastTemperature() != 23.5)
        state.SkipWithError("the line was not taken as valid");
}
BENCHMARK(BM_ThermoLineToStore);

// The two parsing steps on their own, for comparison with the whole road.
void BM_DecodeMeterPacket(benchmark::State &state) {
    TEventRec E;
    E.RawData = frameToRawData(scanReceiveWindow(receiveWindow(), kReceiveWindow).front());
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeMeterPacket(E.RawData, kComma));
}
BENCHMARK(BM_DecodeMeterPacket);

void BM_ParseTempEvent(benchmark::State &state) {
    const TEventRec E = TempRecordFromLine("$DS1820,1,OK,2,23.50,5,6,7,8*3D", QDateTime());
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseTempEvent(E, kComma));
}
BENCHMARK(BM_ParseTempEvent);

} // namespace

BENCHMARK_MAIN();
