#pragma once

#include <QByteArray>
#include <QString>

// The instruments' world and the files the program writes are single-byte
// text in Windows code page 1251. Inside the program text is QString; these
// two functions are the only crossing points.
namespace cp1251 {

QString decode(const QByteArray &bytes);

// Characters that code page 1251 cannot hold become '?', as the Windows
// conversion does; `lossless`, when given, tells whether none did, that is
// whether decode() of the bytes gives the text back.
QByteArray encode(const QString &text, bool *lossless = nullptr);

} // namespace cp1251
