#pragma once

#include <QChar>
#include <QString>

// The port settings and run parameters that survive a restart, as the texts
// of the widgets that show them.
struct TSettings {
    QString PortIMNumber;
    QString PortIMBaud;
    QString PortIMDataBits;
    QString PortIMParity;
    QString PortIMStopBits;
    QString PortTempNumber;
    QString PortTempBaud;
    QString PortTempDataBits;
    QString PortTempParity;
    QString PortTempStopBits;
    QString TempInit;
    QString TempFinal;
    QString TempStep;
    QString TempDiff;
    QString FreqColCount;
};

// "options.ini" in the folder of the program's executable.
QString SettingsFilePath();

// Reads section "general". Missing file, missing keys and values that are not
// numbers give the defaults, silently. The four temperatures come back in the
// general float format with the given separator, FreqColCount (decimal or
// 0x hexadecimal in the file) in decimal. *ok is false when the file exists
// but cannot be read; the result then holds the defaults, and the window tells
// the user "не удалось загрузить настройки".
TSettings LoadSettings(const QString &path, QChar decimalSeparator, bool *ok = nullptr);

// Whether the file is too large to be the program's settings (TIniFile::MaxFileBytes).
bool IsSettingsFileOversized(const QString &path);

// Moves such a file out of the way, never deleting it: "<name>.too-large", or with a number
// appended when that exists. Returns the new path, or an empty one when it cannot be moved.
QString SetSettingsFileAside(const QString &path);

// Writes the fifteen keys in their fixed order: port texts as they are, the
// temperatures converted with the separator and written in the general float
// format, FreqColCount as a decimal integer. The first run parameter that is
// not a number ends the writing: the keys before it are written, it and the
// ones after keep their values in the file. Other keys and sections of the
// file are kept. Returns true only when all fifteen keys reached the file.
bool SaveSettings(const QString &path, const TSettings &settings, QChar decimalSeparator);
