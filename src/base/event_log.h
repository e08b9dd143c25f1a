#pragma once

#include "base/event_rec.h"

#include <QLocale>
#include <QString>

// The 60 raw bytes as 120 upper-case hex digits (the meter log's text).
QString RawToHex(const TEventRec &E);

// The raw bytes as code page 1251 text with every byte <= 0x20 left out
// (blanks, control characters and the zero padding).
QString RawToText(const TEventRec &E);

// One log line: the record's time in the locale's short date and long time
// (the time left out at exactly midnight), "->", then `text`.
// Russian locale: "08.12.2024 9:05:03->AA00...".
QString LogLine(const TEventRec &E, const QString &text, const QLocale &locale);
