#include "settings/settings_file.h"

#include "base/number_format.h"
#include "settings/ini_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <limits>

namespace {

const QString kSection = QStringLiteral("general");

enum class Kind { Text, Float, Integer };

struct Key {
    const char *name;
    QString TSettings::*field;
    Kind kind;
    const char *textDefault; // for Text keys
    double numberDefault;    // for Float and Integer keys
};

const Key kKeys[] = {
    {"PortIMNumber", &TSettings::PortIMNumber, Kind::Text, "1", 0},
    {"PortIMBaud", &TSettings::PortIMBaud, Kind::Text, "9600", 0},
    {"PortIMDataBits", &TSettings::PortIMDataBits, Kind::Text, "8", 0},
    {"PortIMParity", &TSettings::PortIMParity, Kind::Text, "none", 0},
    {"PortIMStopBits", &TSettings::PortIMStopBits, Kind::Text, "1", 0},
    {"PortTempNumber", &TSettings::PortTempNumber, Kind::Text, "1", 0},
    {"PortTempBaud", &TSettings::PortTempBaud, Kind::Text, "9600", 0},
    {"PortTempDataBits", &TSettings::PortTempDataBits, Kind::Text, "8", 0},
    {"PortTempParity", &TSettings::PortTempParity, Kind::Text, "none", 0},
    {"PortTempStopBits", &TSettings::PortTempStopBits, Kind::Text, "1", 0},
    {"TempInit", &TSettings::TempInit, Kind::Float, nullptr, -50},
    {"TempFinal", &TSettings::TempFinal, Kind::Float, nullptr, 30},
    {"TempStep", &TSettings::TempStep, Kind::Float, nullptr, 1},
    {"TempDiff", &TSettings::TempDiff, Kind::Float, nullptr, 0.3},
    {"FreqColCount", &TSettings::FreqColCount, Kind::Integer, nullptr, 10},
};

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// A decimal integer or, after 0x or 0X, a hexadecimal one, with an optional
// sign; it must fit in 32 bits.
bool parseInteger(const QString &text, int *value) {
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s.front() == QLatin1Char('+') || s.front() == QLatin1Char('-'))) {
        negative = s.front() == QLatin1Char('-');
        s = s.mid(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == QLatin1Char('0') &&
        (s[1] == QLatin1Char('x') || s[1] == QLatin1Char('X'))) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty())
        return false;
    int64_t magnitude = 0;
    for (const QChar c : s) {
        const int digit = hexDigit(c);
        if (digit < 0 || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > -int64_t(std::numeric_limits<int>::min()))
            return false;
    }
    const int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<int>::max())
        return false;
    *value = static_cast<int>(v);
    return true;
}

// Whole numbers never show a decimal separator, whichever is passed.
QString integerText(int value) {
    return numfmt::general(static_cast<double>(value), QLatin1Char('.'));
}

// The widget text for a value read from the file.
QString loadedText(const Key &key, const QString &raw, QChar sep) {
    switch (key.kind) {
    case Kind::Text:
        return raw;
    case Kind::Float: {
        double v = key.numberDefault;
        numfmt::parseFloat(raw, sep, &v);
        return numfmt::general(v, sep);
    }
    case Kind::Integer: {
        int v = static_cast<int>(key.numberDefault);
        parseInteger(raw, &v);
        return integerText(v);
    }
    }
    return QString();
}

// The file value for a widget text; false when a run parameter is not a number.
bool storedText(const Key &key, const QString &text, QChar sep, QString *out) {
    switch (key.kind) {
    case Kind::Text:
        *out = text;
        return true;
    case Kind::Float: {
        double v = 0;
        if (!numfmt::parseFloat(text, sep, &v))
            return false;
        *out = numfmt::general(v, sep);
        return true;
    }
    case Kind::Integer: {
        int v = 0;
        if (!parseInteger(text, &v))
            return false;
        *out = integerText(v);
        return true;
    }
    }
    return false;
}

} // namespace

QString SettingsFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("options.ini"));
}

TSettings LoadSettings(const QString &path, QChar decimalSeparator, bool *ok) {
    TIniFile ini(path);
    const bool loaded = ini.load();
    if (ok)
        *ok = loaded;
    TSettings settings;
    for (const Key &key : kKeys) {
        // An empty number is as bad as a missing one; an empty port text stays empty.
        const QString fallback =
            key.kind == Kind::Text ? QString::fromLatin1(key.textDefault) : QString();
        const QString raw = ini.readString(kSection, QLatin1String(key.name), fallback);
        settings.*key.field = loadedText(key, raw, decimalSeparator);
    }
    return settings;
}

bool IsSettingsFileOversized(const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && info.size() > TIniFile::MaxFileBytes;
}

QString SetSettingsFileAside(const QString &path) {
    const QString base = path + QStringLiteral(".too-large");
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = base + QLatin1Char('-') + QString::number(n);
    return QFile::rename(path, aside) ? aside : QString();
}

bool SaveSettings(const QString &path, const TSettings &settings, QChar decimalSeparator) {
    TIniFile ini(path);
    // Writing over a file we could not read would lose its other contents.
    if (!ini.load())
        return false;
    bool complete = true;
    for (const Key &key : kKeys) {
        QString value;
        if (!storedText(key, settings.*key.field, decimalSeparator, &value)) {
            complete = false;
            break;
        }
        ini.writeString(kSection, QLatin1String(key.name), value);
    }
    return ini.save() && complete;
}
