#pragma once

#include "base/event_rec.h"

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

// A thermometer line: nine comma-separated fields
//   $DS1820,<any>,OK,<any>,<temperature>,<any>,<any>,<any>,<any>*HH
// where HH is the XOR of the characters between "$" and "*", in upper-case hex.
// Bytes <= 0x20 carry no meaning anywhere in a line and are dropped first.

// Parses a thermometer record's RawData. Never throws. The packet is Valid
// only when header, status and checksum are good and the temperature is a
// number (written with a point; read with `decimalSeparator` in its place).
// A packet that is not Valid has TempText "::" and TempValue NaN, so no
// temperature is ever taken from a line that was not verified.
TTempPacket ParseTempEvent(const TEventRec &E, QChar decimalSeparator);

// Splits at commas; a field that begins with a double quote runs to its
// closing quote (a doubled quote stands for one) and may contain commas.
// An empty text has no fields; a trailing comma gives a last, empty field.
QStringList splitTempFields(const QString &text);

// A fresh thermometer record for a completed line: Kind 2, the given time and
// the first 60 bytes of the line in RawData.
TEventRec TempRecordFromLine(const QByteArray &line, const QDateTime &time);
