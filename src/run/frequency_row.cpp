#include "run/frequency_row.h"

#include "run/results_layout.h"

#include <optional>

namespace {

std::optional<int> parseDecimalInt(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

bool inMeterRange(int f) {
    return f >= 25 && f <= 1000000;
}

// Above 999 Hz the meter's fine keys move in steps of 1000.
bool reachableStep(int f) {
    return f <= 999 || f % 1000 == 0;
}

} // namespace

bool IsValidFrequencyText(const QString &text) {
    const std::optional<int> f = parseDecimalInt(text);
    return f && inMeterRange(*f) && reachableStep(*f);
}

bool ValidateFrequencies(const QStringList &headerCells, TFreqStorage &storage) {
    storage.Clear();
    bool valid = true;
    int previous = 0;
    for (int i = 0; i < headerCells.size(); ++i) {
        const std::optional<int> f = parseDecimalInt(headerCells.at(i));
        if (!f)
            return false;
        storage.Add({*f, resultslayout::columnOfFrequency(i), 0});
        if (!inMeterRange(*f) || previous >= *f || !reachableStep(*f))
            valid = false;
        previous = *f;
    }
    return valid;
}
