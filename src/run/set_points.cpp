#include "run/set_points.h"

#include "base/number_format.h"

#include <cmath>

namespace {

// The stop test compares printed forms, which do not depend on the separator.
const QChar kCompareSeparator('.');

double setPointAt(double tempInit, double step, int k) {
    return tempInit + static_cast<double>(k) * step;
}

bool isLastRow(double t, double tempFinal, double step, const QString &finalText) {
    return (t >= tempFinal && step > 0) || (t <= tempFinal && step < 0) || t == tempFinal ||
           numfmt::fourDigits(t, kCompareSeparator) == finalText;
}

// Number of rows the table will have, or why there is none.
SetPointError countSetPoints(double tempInit, double tempFinal, double step, int *count) {
    const QString finalText = numfmt::fourDigits(tempFinal, kCompareSeparator);
    for (int k = 1; k < kMaxSetPoints; ++k) {
        const double t = setPointAt(tempInit, step, k);
        // k * step can pass the largest double even where the bounds do not;
        // such a row would read "INF" and compare past any final temperature.
        if (!std::isfinite(t))
            return SetPointError::SetPointNotFinite;
        if (isLastRow(t, tempFinal, step, finalText)) {
            *count = k + 1;
            return SetPointError::None;
        }
    }
    return SetPointError::TooManySetPoints;
}

SetPointError checkParameters(double tempInit, double tempFinal, double tempStep) {
    if (!std::isfinite(tempInit) || !std::isfinite(tempFinal))
        return SetPointError::BoundsNotFinite;
    if (!std::isfinite(tempStep))
        return SetPointError::StepNotFinite;
    if (tempStep == 0.0)
        return SetPointError::ZeroStep;
    return SetPointError::None;
}

} // namespace

SetPointTable generateSetPoints(double tempInit, double tempFinal, double tempStep, double tempDiff,
                                QChar decimalSeparator, TTempStorage &storage) {
    storage.Clear();
    storage.TempInit = tempInit;
    storage.TempFinal = tempFinal;
    storage.TempStep = tempStep;
    storage.TempDiff = tempDiff;

    SetPointTable table;
    table.error = checkParameters(tempInit, tempFinal, tempStep);
    if (table.error != SetPointError::None)
        return table;

    // Set points always run from the initial towards the final temperature.
    const double step = tempFinal >= tempInit ? std::fabs(tempStep) : -std::fabs(tempStep);
    int count = 0;
    table.error = countSetPoints(tempInit, tempFinal, step, &count);
    if (table.error != SetPointError::None)
        return table;

    table.rows.reserve(count);
    for (int k = 0; k < count; ++k) {
        SetPointRow row;
        row.row = k + 1;
        row.value = setPointAt(tempInit, step, k);
        row.text = numfmt::fourDigits(row.value, decimalSeparator);
        row.stored = k == 0 || storage.InRange(row.value);
        if (row.stored)
            storage.Add({row.value, row.row, 0});
        table.rows.append(row);
    }
    return table;
}
