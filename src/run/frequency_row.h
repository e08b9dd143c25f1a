#pragma once

#include "run/freq_storage.h"

#include <QString>
#include <QStringList>

// Whether a frequency cell holds a frequency the meter can be stepped to: a
// decimal integer in 25 .. 1000000 that is a multiple of 1000 above 999.
// An empty text is not valid.
bool IsValidFrequencyText(const QString &text);

// Reads the frequency cells (2 .. ColCount-1, 0), given left to right, into
// `storage` and checks them: every value valid and the row strictly ascending.
// Reading stops at the first cell that is not an integer (the result is false
// and the items read so far stay); cells that fail a test are still stored.
// A row without frequency cells is valid and leaves the storage empty.
bool ValidateFrequencies(const QStringList &headerCells, TFreqStorage &storage);
