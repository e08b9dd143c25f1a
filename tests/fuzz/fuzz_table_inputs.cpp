// What the table preparation takes from the user: the four temperatures and
// the column count, typed key by key through the numeric key filter or pasted
// past it (or, to reach every double, taken as raw bit patterns), and the
// frequency cells of the header row as any text.
//
// Properties: the key filter lets through only what a number needs; a table
// of set points is either refused with a reason and leaves nothing, or runs
// from the initial temperature towards the final one in whole steps, every
// set point finite and printed in the four-digit format, stopping at the first
// row that reaches the final temperature, within the row limit, with exactly
// the rows in range in the storage; the frequency row is valid exactly when
// every cell is a valid frequency and they ascend, and the storage holds the
// cells read up to the first that is not a number, each with its column.
#include "fuzz_check.h"

#include "base/number_format.h"
#include "run/freq_storage.h"
#include "run/frequency_row.h"
#include "run/numeric_key_filter.h"
#include "run/set_points.h"
#include "run/temp_storage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const QChar kBackspace(8);
constexpr int kTemperatureLength = 6;
constexpr int kCountLength = 2;
constexpr double kSearchedRows = 2000;

void checkKey(QChar typed, QChar key, bool isCount, QChar sep) {
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool numberPart =
        key == QLatin1Char('-') || key == QLatin1Char(',') || key == QLatin1Char('.') || key == sep;
    fuzzCheck(key.isNull() || key == kBackspace || digit || (!isCount && numberPart),
              "the key filter passes only what a number needs", QString(typed));
    const bool separatorKey =
        typed == QLatin1Char('/') || typed == QLatin1Char('.') || typed == QLatin1Char(',');
    if (!isCount && separatorKey)
        fuzzCheck(key == sep, "a separator key types the decimal separator", QString(typed));
    if (typed >= QLatin1Char('0') && typed <= QLatin1Char('9'))
        fuzzCheck(key == typed, "digits pass", QString(typed));
}

struct EditText {
    QString text;
    bool typed = false; // through the key filter, not pasted
};

// The text of a numeric edit after the user typed or pasted into it.
EditText editText(FuzzedDataProvider &in, bool isCount, int maxLength, QChar sep) {
    const bool pasted = in.ConsumeBool();
    const std::string keys = in.ConsumeRandomLengthString(12);
    if (pasted)
        return {QString::fromLatin1(keys.data(), qsizetype(keys.size())).left(maxLength), false};
    QString text;
    for (const char c : keys) {
        const QChar typed = QLatin1Char(c);
        const QChar key = filterNumericKey(typed, isCount, sep);
        checkKey(typed, key, isCount, sep);
        if (key.isNull())
            continue;
        if (key == kBackspace)
            text.chop(1);
        else if (text.size() < maxLength)
            text += key;
    }
    return {text, true};
}

double rawDouble(FuzzedDataProvider &in) {
    const uint64_t bits = in.ConsumeIntegral<uint64_t>();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

SetPointError expectedRefusal(double init, double final, double step) {
    if (!std::isfinite(init) || !std::isfinite(final))
        return SetPointError::BoundsNotFinite;
    if (!std::isfinite(step))
        return SetPointError::StepNotFinite;
    if (step == 0)
        return SetPointError::ZeroStep;
    return SetPointError::None;
}

void checkSetPoints(double init, double final, double step, double diff, QChar sep) {
    // Tables of many thousand rows, up to the row limit that the unit tests
    // cover, would slow the search a hundredfold; the edges lie elsewhere.
    // Halved, so that bounds far apart do not overflow into a skip.
    if (step != 0 && std::fabs(final / 2 - init / 2) > kSearchedRows / 2 * std::fabs(step))
        return;
    TTempStorage storage;
    storage.Add({1.0, 1, 0});
    const SetPointTable table = generateSetPoints(init, final, step, diff, sep, storage);
    const QString detail = QStringLiteral("%1 .. %2 step %3 diff %4")
                               .arg(numfmt::general(init, sep), numfmt::general(final, sep),
                                    numfmt::general(step, sep), numfmt::general(diff, sep));
    fuzzCheck(std::memcmp(&storage.TempInit, &init, sizeof init) == 0 &&
                  std::memcmp(&storage.TempFinal, &final, sizeof final) == 0 &&
                  std::memcmp(&storage.TempStep, &step, sizeof step) == 0 &&
                  std::memcmp(&storage.TempDiff, &diff, sizeof diff) == 0,
              "the storage takes the parameters as given", detail);

    const SetPointError refusal = expectedRefusal(init, final, step);
    if (refusal != SetPointError::None)
        fuzzCheck(table.error == refusal, "unusable parameters are refused for their reason",
                  detail);
    else
        fuzzCheck(table.error == SetPointError::None ||
                      table.error == SetPointError::SetPointNotFinite ||
                      table.error == SetPointError::TooManySetPoints,
                  "usable parameters are refused only for what they lead to", detail);
    if (table.error != SetPointError::None) {
        fuzzCheck(table.rows.isEmpty() && storage.Count() == 0, "a refused table leaves nothing",
                  detail);
        return;
    }

    const int n = int(table.rows.size());
    fuzzCheck(n >= 2 && n <= kMaxSetPoints, "a table has two rows at least, within the limit",
              detail);
    const double signedStep = final >= init ? std::fabs(step) : -std::fabs(step);
    const QString finalText = numfmt::fourDigits(final, sep);
    int stored = 0;
    for (int k = 0; k < n; ++k) {
        const SetPointRow &row = table.rows.at(k);
        fuzzCheck(row.row == k + 1 && std::isfinite(row.value) &&
                      row.value == init + double(k) * signedStep &&
                      row.text == numfmt::fourDigits(row.value, sep),
                  "the k-th row is the k-th whole step, finite and printed", detail);
        const bool reaches =
            (signedStep > 0 ? row.value >= final : row.value <= final) || row.text == finalText;
        if (k > 0)
            fuzzCheck(reaches == (k == n - 1), "the last row is the first to reach the final one",
                      detail + QLatin1String(" row ") + row.text);
        fuzzCheck(row.stored == (k == 0 || storage.InRange(row.value)),
                  "a row is stored when it is the first or in range", detail);
        if (!row.stored)
            continue;
        fuzzCheck(stored < storage.Count() && storage.Items.at(stored).Row == row.row &&
                      storage.Items.at(stored).SetPoint == row.value &&
                      storage.Items.at(stored).Index == stored,
                  "the storage holds the stored rows in order", detail);
        ++stored;
    }
    fuzzCheck(stored == storage.Count(), "the storage holds nothing else", detail);
}

void checkFrequencies(const QStringList &cells) {
    TFreqStorage storage;
    storage.Add({1, 1, 0});
    const bool valid = ValidateFrequencies(cells, storage);
    bool expected = true;
    int read = 0;
    int previous = 0;
    for (const QString &cell : cells) {
        bool ok = false;
        const int f = cell.toInt(&ok, 10);
        if (!ok) {
            expected = false;
            break;
        }
        expected = expected && IsValidFrequencyText(cell) && f > previous;
        fuzzCheck(read < storage.Count() && storage.Items.at(read).Freq == f &&
                      storage.Items.at(read).Col == 2 + read &&
                      storage.Items.at(read).Index == read,
                  "each frequency read is stored with its column", cell);
        previous = f;
        ++read;
    }
    fuzzCheck(read == storage.Count(), "nothing past the first cell that is not a number",
              cells.join(QLatin1Char('|')));
    fuzzCheck(valid == expected, "a row is valid when its frequencies are and they ascend",
              cells.join(QLatin1Char('|')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QChar sep = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    if (in.ConsumeBool()) {
        const double init = rawDouble(in);
        const double final = rawDouble(in);
        const double step = rawDouble(in);
        checkSetPoints(init, final, step, rawDouble(in), sep);
    } else {
        double values[4] = {};
        bool numbers = true;
        for (double &value : values)
            numbers = numfmt::parseFloat(editText(in, false, kTemperatureLength, sep).text, sep,
                                         &value) &&
                      numbers;
        if (numbers)
            checkSetPoints(values[0], values[1], values[2], values[3], sep);
    }

    const EditText count = editText(in, true, kCountLength, sep);
    bool countOk = false;
    count.text.toInt(&countOk, 10);
    if (count.typed)
        fuzzCheck(countOk || count.text.isEmpty(),
                  "a count typed through the filter is a number or empty", count.text);

    QStringList cells;
    const int cellCount = in.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < cellCount; ++i) {
        const std::string cell = in.ConsumeRandomLengthString(8);
        cells << QString::fromLatin1(cell.data(), qsizetype(cell.size()));
    }
    checkFrequencies(cells);
    return 0;
}
