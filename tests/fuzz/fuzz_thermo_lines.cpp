// The thermometer's line assembler and parser, fed the port's bytes in chunks
// of any size, and then a well-formed line built from the input.
//
// Properties: how the bytes are cut into chunks changes nothing; there is one
// line per carriage return, and it is the newest kMaxPending bytes before it,
// trimmed; what waits never passes kMaxPending bytes; a parsed line is valid
// only with its header, status, a checksum that matches its bytes and a finite
// temperature, and an invalid one carries no temperature; a well-formed line
// after any garbage is valid and gives its temperature to the event store.
#include "fuzz_check.h"

#include "base/event_log.h"
#include "base/event_rec.h"
#include "base/number_format.h"
#include "model/event_store.h"
#include "thermo/line_assembler.h"
#include "thermo/temp_parse.h"

#include <QDateTime>
#include <QList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

const QDateTime kTime(QDate(2024, 12, 8), QTime(9, 5, 3));

// Bytes a free field of a well-formed line may hold: printable, no field or
// checksum separator, no quote.
QByteArray freeField(FuzzedDataProvider &in) {
    QByteArray field;
    for (const char c : in.ConsumeRandomLengthString(4)) {
        const auto u = static_cast<unsigned char>(c);
        field.append(u > 0x20 && u < 0x7F && c != ',' && c != '*' && c != '"' ? c : 'x');
    }
    return field;
}

QByteArray checksumOf(const QByteArray &body) {
    uint8_t sum = 0;
    for (const char c : body)
        sum = uint8_t(sum ^ uint8_t(c));
    return QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
}

void checkParsed(const QByteArray &line, QChar sep) {
    const TTempPacket p = ParseTempEvent(TempRecordFromLine(line, kTime), sep);
    if (!p.Valid) {
        fuzzCheck(p.TempText == QLatin1String("::") && std::isnan(p.TempValue),
                  "an invalid line carries no temperature", QString::fromLatin1(line));
        return;
    }
    // What the parser sees: the first 60 bytes with the meaningless ones left out.
    QByteArray seen;
    for (const char c : line.left(60))
        if (static_cast<unsigned char>(c) > 0x20)
            seen.append(c);
    // The sum runs from after the "$" to the first "*"; the line may carry
    // it after that "*" or, with no "*" in field 8, at that field's start.
    const qsizetype star = seen.indexOf('*');
    const QByteArray sum = checksumOf(star > 0 ? seen.mid(1, star - 1) : QByteArray());
    fuzzCheck(p.HeaderOk && p.StatusOk && p.ChecksumOk && seen.startsWith("$DS1820,") &&
                  p.ChecksumCalcText.toLatin1() == sum && p.ChecksumText == p.ChecksumCalcText,
              "a valid line has its header, status and a checksum that matches its bytes",
              QString::fromLatin1(line));
    fuzzCheck(std::isfinite(p.TempValue), "a valid line has a finite temperature",
              QString::fromLatin1(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QChar sep = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    const int temperature = in.ConsumeIntegralInRange<int>(-99999, 99999);
    QList<QByteArray> fields;
    for (int i = 0; i < 6; ++i)
        fields.append(freeField(in));

    QByteArray stream;
    TempLineAssembler chunked;
    QList<QByteArray> lines;
    while (in.remaining_bytes() > 0) {
        const size_t length = in.ConsumeIntegralInRange<size_t>(1, 300);
        const std::string bytes = in.ConsumeBytesAsString(length);
        const QByteArray chunk(bytes.data(), qsizetype(bytes.size()));
        stream += chunk;
        lines += chunked.feed(chunk);
        fuzzCheck(chunked.pending().size() <= TempLineAssembler::kMaxPending,
                  "the unfinished line stays bounded");
    }

    TempLineAssembler byByte;
    QList<QByteArray> byteLines;
    for (const char c : stream)
        if (std::optional<QByteArray> line = byByte.feed(c))
            byteLines.append(*line);
    fuzzCheck(byteLines == lines && byByte.pending() == chunked.pending(),
              "chunks give the same lines as single bytes");

    QList<QByteArray> pieces = stream.split('\r');
    const QByteArray rest = pieces.takeLast();
    fuzzCheck(lines.size() == pieces.size(), "one line per carriage return");
    for (int i = 0; i < pieces.size(); ++i)
        fuzzCheck(lines.at(i) == trimLine(pieces.at(i).right(TempLineAssembler::kMaxPending)),
                  "a line is its newest bytes, trimmed", QString::fromLatin1(pieces.at(i)));
    fuzzCheck(chunked.pending() == rest.right(TempLineAssembler::kMaxPending),
              "what follows the last carriage return waits");
    for (const QByteArray &line : lines)
        checkParsed(line, sep);

    // A well-formed line after whatever came before.
    const QByteArray temperatureText =
        numfmt::fixed(temperature / 100.0, 0, 2, QLatin1Char('.')).toLatin1();
    const QByteArray body = "DS1820," + fields[0] + ",OK," + fields[1] + ',' + temperatureText +
                            ',' + fields[2] + ',' + fields[3] + ',' + fields[4] + ',' + fields[5];
    const QByteArray good = '$' + body + '*' + checksumOf(body);
    const QList<QByteArray> last = chunked.feed("\r" + good + "\r");
    fuzzCheck(!last.isEmpty() && last.last() == good, "a well-formed line comes out whole",
              QString::fromLatin1(good));
    TMyStorage store(sep);
    store.AddEvent(TempRecordFromLine(last.last(), kTime));
    fuzzCheck(store.LastTemperature() == temperature / 100.0,
              "a well-formed line gives its temperature", QString::fromLatin1(good));
    return 0;
}
