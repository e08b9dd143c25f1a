#pragma once

#include <QChar>

// Key filter of the numeric edits of the settings panel. "/", "." and "," are
// turned into the decimal separator. The count edit takes digits and backspace
// only; the temperature edits also take the separator, "," "." and "-".
// Returns the character to insert, or QChar(0) to drop the key.
QChar filterNumericKey(QChar typed, bool isCountEdit, QChar decimalSeparator);
