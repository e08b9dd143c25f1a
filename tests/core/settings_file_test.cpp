#include "file_support.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

const QChar kComma(',');
const QChar kPoint('.');

QStringList allValues(const TSettings &s) {
    return {s.PortIMNumber,   s.PortIMBaud,       s.PortIMDataBits, s.PortIMParity,
            s.PortIMStopBits, s.PortTempNumber,   s.PortTempBaud,   s.PortTempDataBits,
            s.PortTempParity, s.PortTempStopBits, s.TempInit,       s.TempFinal,
            s.TempStep,       s.TempDiff,         s.FreqColCount};
}

TEST(SettingsFile, FirstStartUsesDefaultsAndTheFirstSaveWritesAllKeys) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    bool ok = false;
    const TSettings s = LoadSettings(path, kComma, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(allValues(s), QStringList({"1", "9600", "8", "none", "1", "1", "9600", "8", "none",
                                         "1", "-50", "30", "1", "0,3", "10"}));
    EXPECT_EQ(LoadSettings(path, kPoint).TempDiff, QStringLiteral("0.3"));

    EXPECT_TRUE(SaveSettings(path, s, kComma));
    EXPECT_EQ(readBytes(path), QByteArray("[general]\r\n"
                                          "PortIMNumber=1\r\n"
                                          "PortIMBaud=9600\r\n"
                                          "PortIMDataBits=8\r\n"
                                          "PortIMParity=none\r\n"
                                          "PortIMStopBits=1\r\n"
                                          "PortTempNumber=1\r\n"
                                          "PortTempBaud=9600\r\n"
                                          "PortTempDataBits=8\r\n"
                                          "PortTempParity=none\r\n"
                                          "PortTempStopBits=1\r\n"
                                          "TempInit=-50\r\n"
                                          "TempFinal=30\r\n"
                                          "TempStep=1\r\n"
                                          "TempDiff=0,3\r\n"
                                          "FreqColCount=10\r\n"));
}

TEST(SettingsFile, LoadedValuesBecomeWidgetTexts) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "[general]\r\n"
                     "PortIMNumber=COM3\r\n"
                     "PortTempBaud=\r\n"
                     "TempInit=-49,50\r\n"
                     "TempFinal=1e-5\r\n"
                     "TempStep=\r\n"
                     "TempDiff=abc\r\n"
                     "FreqColCount=0x0A\r\n");
    const TSettings s = LoadSettings(path, kComma);
    EXPECT_EQ(s.PortIMNumber, QStringLiteral("COM3"));
    EXPECT_EQ(s.PortTempBaud, QString());
    EXPECT_EQ(s.PortTempNumber, QStringLiteral("1"));
    EXPECT_EQ(s.TempInit, QStringLiteral("-49,5"));
    EXPECT_EQ(s.TempFinal, QStringLiteral("1E-5"));
    EXPECT_EQ(s.TempStep, QStringLiteral("1"));
    EXPECT_EQ(s.TempDiff, QStringLiteral("0,3"));
    EXPECT_EQ(s.FreqColCount, QStringLiteral("10"));

    // A file written with a decimal comma falls back to the defaults under a point.
    const TSettings p = LoadSettings(path, kPoint);
    EXPECT_EQ(p.TempInit, QStringLiteral("-50"));
    EXPECT_EQ(p.TempDiff, QStringLiteral("0.3"));
}

TEST(SettingsFile, FrequencyColumnCountForms) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    const struct {
        const char *inFile, *loaded;
    } cases[] = {{"7", "7"},
                 {"0X1f", "31"},
                 {"-3", "-3"},
                 {"12abc", "10"},
                 {"0x", "10"},
                 {"1,5", "10"},
                 {"2147483647", "2147483647"},
                 {"2147483648", "10"},
                 {"0xG", "10"}};
    for (const auto &c : cases) {
        writeBytes(path, QByteArray("[general]\r\nFreqColCount=") + c.inFile + "\r\n");
        EXPECT_EQ(LoadSettings(path, kComma).FreqColCount, QString::fromLatin1(c.loaded))
            << c.inFile;
    }
}

TEST(SettingsFile, SavedNumbersAreNormalised) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    TSettings s = LoadSettings(path, kComma);
    s.TempInit = "-50,0";
    s.TempDiff = " 0,25 ";
    s.FreqColCount = "0x0C";
    ASSERT_TRUE(SaveSettings(path, s, kComma));
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("\r\nTempInit=-50\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nTempDiff=0,25\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nFreqColCount=12\r\n"));

    s.TempInit = "-50.0";
    s.TempDiff = "0.125";
    ASSERT_TRUE(SaveSettings(path, s, kPoint));
    EXPECT_EQ(LoadSettings(path, kPoint).TempDiff, QStringLiteral("0.125"));
}

// An edit that holds no number stops the save at its key: the keys before it
// take the new values, it and the ones after keep what the file held.
TEST(SettingsFile, ParameterThatIsNotANumberStopsTheSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    TSettings old = LoadSettings(path, kComma);
    old.TempFinal = "40";
    old.TempStep = "2";
    old.FreqColCount = "6";
    ASSERT_TRUE(SaveSettings(path, old, kComma));

    TSettings edited = old;
    edited.PortIMNumber = "COM4";
    edited.PortTempStopBits = "2";
    edited.TempInit = "-10";
    edited.TempFinal = "";
    edited.TempStep = "5";
    edited.FreqColCount = "8";
    EXPECT_FALSE(SaveSettings(path, edited, kComma));
    TSettings expected = edited;
    expected.TempFinal = "40";
    expected.TempStep = "2";
    expected.FreqColCount = "6";
    EXPECT_EQ(allValues(LoadSettings(path, kComma)), allValues(expected));

    edited.TempFinal = "35";
    edited.FreqColCount = "many";
    EXPECT_FALSE(SaveSettings(path, edited, kComma));
    expected = edited;
    expected.FreqColCount = "6";
    EXPECT_EQ(allValues(LoadSettings(path, kComma)), allValues(expected));
}

TEST(SettingsFile, FailuresAreReportedNotThrown) {
    QTemporaryDir dir;
    bool ok = true;
    const TSettings s = LoadSettings(dir.path(), kComma, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(s.TempDiff, QStringLiteral("0,3"));
    EXPECT_FALSE(SaveSettings(dir.path(), s, kComma));

    const QString aFile = dir.filePath("plain");
    writeBytes(aFile, "x");
    EXPECT_FALSE(SaveSettings(aFile + "/options.ini", s, kComma));
    EXPECT_EQ(readBytes(aFile), QByteArray("x"));
}

// The largest doubles print rounded up past the largest double; what is saved
// must load again, and the four-digit form of a set point is taken too.
TEST(SettingsFile, LargestNumbersSurviveSaveAndLoad) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    TSettings s = LoadSettings(path, kComma);
    s.TempInit = QStringLiteral("1,79769313486232E308");
    s.TempFinal = QStringLiteral("-1,798E308");
    s.TempStep = QStringLiteral("4,94065645841247E-324");
    ASSERT_TRUE(SaveSettings(path, s, kComma));
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("TempInit=1,79769313486232E308\r\n"));
    EXPECT_TRUE(bytes.contains("TempFinal=-1,79769313486232E308\r\n"));
    const TSettings loaded = LoadSettings(path, kComma);
    EXPECT_EQ(loaded.TempInit, QStringLiteral("1,79769313486232E308"));
    EXPECT_EQ(loaded.TempFinal, QStringLiteral("-1,79769313486232E308"));
    EXPECT_EQ(loaded.TempStep, QStringLiteral("4,94065645841247E-324"));

    // Beyond that a value is still not a number and is not saved.
    s.TempInit = QStringLiteral("1,8E308");
    EXPECT_FALSE(SaveSettings(path, s, kComma));
    EXPECT_EQ(LoadSettings(path, kComma).TempInit, QStringLiteral("1,79769313486232E308"));
}

} // namespace
