#include "base/cp1251.h"
#include "base/event_rec.h"
#include "files/csv_table.h"
#include "files/measurement_file.h"

#include <benchmark/benchmark.h>

namespace {

// A run of `rows` set points by 20 frequencies, every reading captured,
// which gives two blocks (main value and main/secondary).
TCSVTable fullTable(int rows) {
    const int cols = 20;
    TCSVTable table;
    table.SetTableSize(rows, cols);
    for (int c = 0; c < cols; ++c)
        table.SetColHeader(100 * (c + 1), c);
    for (int r = 0; r < rows; ++r)
        table.SetRowHeader(r, -50.0 + r * 0.01, QLatin1Char(','));
    TIMPacket im;
    im.MainName = QStringLiteral("Cp");
    im.SecName = QStringLiteral("D");
    im.MainBase = QStringLiteral("1,52345E-9");
    im.SecBase = QStringLiteral("0,012345");
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            StoreReading(table, im, c, r);
    table.SetHeaderInfo(QStringLiteral("A 100kOm"), QStringLiteral("1,00V"),
                        QStringLiteral("0,00V"));
    return table;
}

void BM_TableToText(benchmark::State &state) {
    const TCSVTable table = fullTable(static_cast<int>(state.range(0)));
    qsizetype length = 0;
    for (auto _ : state) {
        const QString text = table.TableToText();
        length = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["chars"] = static_cast<double>(length);
    state.SetBytesProcessed(state.iterations() * length * qsizetype(sizeof(QChar)));
}
// The smaller size shows that the time grows in proportion to the table.
BENCHMARK(BM_TableToText)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);

// The bytes a save writes: the text and its conversion to the code page.
void BM_TableToFileBytes(benchmark::State &state) {
    const TCSVTable table = fullTable(static_cast<int>(state.range(0)));
    qsizetype length = 0;
    for (auto _ : state) {
        const QByteArray bytes = cp1251::encode(table.TableToText());
        length = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * length);
}
BENCHMARK(BM_TableToFileBytes)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
