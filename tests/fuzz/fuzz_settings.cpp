// The settings file: any existing file, any texts in the widgets, saved and
// loaded again.
//
// Properties: every run parameter that reached the file loads as the value
// saved, printed in the general format (and a count as its decimal integer);
// the parameters after the first that is not a number keep what the file had;
// a port text without blanks at its ends, quotes around it or characters the
// code page lacks loads exactly as saved; saving what was loaded and loading
// it again changes nothing; every other key of every section reads as before.
#include "fuzz_check.h"

#include "base/cp1251.h"
#include "base/number_format.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>

namespace {

struct Field {
    const char *name;
    QString TSettings::*member;
};

// In the order the settings file writes them: port texts, then run parameters.
const std::array<Field, 15> kFields = {{
    {"PortIMNumber", &TSettings::PortIMNumber},
    {"PortIMBaud", &TSettings::PortIMBaud},
    {"PortIMDataBits", &TSettings::PortIMDataBits},
    {"PortIMParity", &TSettings::PortIMParity},
    {"PortIMStopBits", &TSettings::PortIMStopBits},
    {"PortTempNumber", &TSettings::PortTempNumber},
    {"PortTempBaud", &TSettings::PortTempBaud},
    {"PortTempDataBits", &TSettings::PortTempDataBits},
    {"PortTempParity", &TSettings::PortTempParity},
    {"PortTempStopBits", &TSettings::PortTempStopBits},
    {"TempInit", &TSettings::TempInit},
    {"TempFinal", &TSettings::TempFinal},
    {"TempStep", &TSettings::TempStep},
    {"TempDiff", &TSettings::TempDiff},
    {"FreqColCount", &TSettings::FreqColCount},
}};
constexpr int kFirstTemperature = 10;
constexpr int kCount = 14;

const QString kSection = QStringLiteral("general");
const QString kAbsent = QStringLiteral("\x01");

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isOurs(const QString &section, const QString &key) {
    if (!sameName(section, kSection))
        return false;
    for (const Field &f : kFields)
        if (sameName(key, QLatin1String(f.name)))
            return true;
    return false;
}

// A port text the file can keep as it is.
bool keepable(const QString &text) {
    const bool quoted = text.size() >= 2 && text.front() == text.back() &&
                        (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\''));
    return !quoted && text.trimmed() == text && !text.contains(QLatin1Char('\r')) &&
           !text.contains(QLatin1Char('\n')) && cp1251::decode(cp1251::encode(text)) == text;
}

// A decimal integer in range, which the count must keep as its value.
bool plainInteger(const QString &text, int *value) {
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    bool ok = false;
    *value = text.trimmed().toInt(&ok, 10);
    return ok && form.match(text.trimmed()).hasMatch();
}

// The section and key names the file mentions, for reading every other key.
void namesIn(const QByteArray &file, QStringList *sections, QStringList *keys) {
    for (QString line : cp1251::decode(file).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            *sections << (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
        } else if (line.contains(QLatin1Char('='))) {
            *keys << line.left(line.indexOf(QLatin1Char('='))).trimmed();
        }
    }
    sections->removeDuplicates();
    keys->removeDuplicates();
}

QStringList otherValues(const QString &path, const QStringList &sections, const QStringList &keys) {
    TIniFile ini(path);
    fuzzCheck(ini.load(), "the file loads");
    QStringList values;
    for (const QString &section : sections.mid(0, 16))
        for (const QString &key : keys.mid(0, 16))
            if (!isOurs(section, key))
                values << ini.readString(section, key, kAbsent);
    return values;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
              "the test file is written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QChar sep = in.ConsumeBool() ? QLatin1Char(',') : QLatin1Char('.');
    const std::string originalText = in.ConsumeRandomLengthString(2048);
    const QByteArray original(originalText.data(), qsizetype(originalText.size()));
    TSettings typed;
    for (const Field &f : kFields)
        typed.*f.member = QString::fromStdString(in.ConsumeRandomLengthString(24));

    QTemporaryDir dir;
    fuzzCheck(dir.isValid(), "a temporary folder");
    const QString path = dir.filePath(QStringLiteral("options.ini"));
    writeFile(path, original);

    QStringList sections = {kSection};
    QStringList keys;
    namesIn(original, &sections, &keys);
    const QStringList othersBefore = otherValues(path, sections, keys);

    bool ok = false;
    const TSettings before = LoadSettings(path, sep, &ok);
    fuzzCheck(ok, "an existing file loads");
    const bool complete = SaveSettings(path, typed, sep);
    const TSettings loaded = LoadSettings(path, sep, &ok);
    fuzzCheck(ok, "a saved file loads");

    bool reached = true; // the keys so far reached the file
    for (int i = 0; i < int(kFields.size()); ++i) {
        const Field &f = kFields[i];
        const QString &text = typed.*f.member;
        const QString &got = loaded.*f.member;
        const QString detail =
            QLatin1String(f.name) + QLatin1String(": ") + text + QLatin1String(" -> ") + got;
        if (i < kFirstTemperature) {
            if (keepable(text))
                fuzzCheck(got == text, "a port text loads as saved", detail);
            continue;
        }
        if (i < kCount) {
            double value = 0;
            reached = reached && numfmt::parseFloat(text, sep, &value);
            if (reached)
                fuzzCheck(got == numfmt::general(value, sep),
                          "a saved temperature loads as the number saved", detail);
        } else {
            int value = 0;
            const bool plain = plainInteger(text, &value);
            if (reached && plain)
                fuzzCheck(complete && got == numfmt::general(value, sep),
                          "a saved count loads as the number saved", detail);
            reached = reached && complete;
        }
        if (!reached)
            fuzzCheck(got == before.*f.member, "what was not saved keeps the file's value", detail);
    }
    fuzzCheck(!complete || reached, "a save is complete only when every key reached the file");

    fuzzCheck(SaveSettings(path, loaded, sep), "what was loaded saves completely");
    const TSettings again = LoadSettings(path, sep, &ok);
    for (int i = kFirstTemperature; i < int(kFields.size()); ++i) {
        const Field &f = kFields[i];
        fuzzCheck(again.*f.member == loaded.*f.member, "saving what was loaded changes nothing",
                  QLatin1String(f.name) + QLatin1String(": ") + loaded.*f.member);
    }
    for (int i = 0; i < kFirstTemperature; ++i) {
        const Field &f = kFields[i];
        if (keepable(loaded.*f.member))
            fuzzCheck(again.*f.member == loaded.*f.member, "a loaded port text saves as it is");
    }

    fuzzCheck(otherValues(path, sections, keys) == othersBefore, "every other key reads as before");
    return 0;
}
