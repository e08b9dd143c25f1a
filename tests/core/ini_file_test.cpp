#include "file_support.h"
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("general", "TempInit", "-50"), QStringLiteral("-50"));
    ini.writeString("general", "TempInit", "-40");
    ini.writeString("general", "TempStep", "1");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(path), QByteArray("[general]\r\nTempInit=-40\r\nTempStep=1\r\n"));
}

// The autoconnect tick saves the settings every 3 s: a file holding them already is not
// touched (its time, set back a day, stays), while a change or a file removed meanwhile is
// written.
TEST(IniFile, SavingWhatTheFileHoldsLeavesItAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "[general]\r\nTempInit=-40\r\n");
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    const auto setBack = [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(dayAgo, QFileDevice::FileModificationTime));
    };
    const auto untouched = [&] { return QFileInfo(path).lastModified() < dayAgo.addSecs(60); };
    setBack();

    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("general", "TempInit", "-40");
    ASSERT_TRUE(ini.save());
    ASSERT_TRUE(ini.save());
    EXPECT_TRUE(untouched());

    ini.writeString("general", "TempInit", "-30");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(path), QByteArray("[general]\r\nTempInit=-30\r\n"));
    EXPECT_FALSE(untouched());
    setBack();
    ASSERT_TRUE(ini.save());
    EXPECT_TRUE(untouched());

    QFile::remove(path);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(path), QByteArray("[general]\r\nTempInit=-30\r\n"));
}

TEST(IniFile, LookupFollowsTheProfileRules) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "Stray=0\n"
                     "[other]\n"
                     "Key=other\n"
                     "[ General ]\r\n"
                     "  key  =  spaced value  \r\n"
                     "Quoted=\"0,3\"\n"
                     "Empty=\n"
                     "KEY=second\n"
                     "[general]\n"
                     "Late=ignored\n"
                     "[open\n"
                     "Tail=1");
    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    const struct {
        const char *section, *key, *expected;
    } cases[] = {
        {"GENERAL", "Key", "spaced value"}, // first of two keys, names without case
        {"general", "quoted", "0,3"},
        {"general", "Empty", ""},
        {"general", "Stray", "default"},
        {"general", "Late", "default"}, // only the first section of a name counts
        {"other", "key", "other"},
        {"open", "Tail", "1"},
        {"none", "Key", "default"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, "default"), QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
}

TEST(IniFile, WritingAKeyKeepsEverythingElse) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "; written by hand\n"
                     "[general]\n"
                     "portimbaud=4800\n"
                     "Unknown=kept\n"
                     "\n"
                     "[other]\n"
                     "PortIMBaud=untouched\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("general", "PortIMBaud", "9600");
    ini.writeString("general", "TempInit", "-50");
    ini.writeString("new", "A", "1");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(path), QByteArray("; written by hand\r\n"
                                          "[general]\r\n"
                                          "PortIMBaud=9600\r\n"
                                          "Unknown=kept\r\n"
                                          "TempInit=-50\r\n"
                                          "\r\n"
                                          "[other]\r\n"
                                          "PortIMBaud=untouched\r\n"
                                          "[new]\r\n"
                                          "A=1\r\n"));
}

TEST(IniFile, ALineBreakInAValueCannotHideTheKeysAfterIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.writeString("general", "PortIMNumber", "3\r\n[other]\nkey");
    ini.writeString("general", "PortTempNumber", "4");
    ASSERT_TRUE(ini.save());

    TIniFile reread(path);
    ASSERT_TRUE(reread.load());
    EXPECT_EQ(reread.readString("general", "PortIMNumber", QString()),
              QStringLiteral("3  [other] key"));
    EXPECT_EQ(reread.readString("general", "PortTempNumber", QString()), QStringLiteral("4"));
}

TEST(IniFile, TextIsCodePage1251) {
    QTemporaryDir dir;
    const QString path = dir.filePath("options.ini");
    writeBytes(path, "[general]\r\nName=\xCF\xEE\xF0\xF2\r\n"); // "Порт"
    TIniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString("general", "Name", QString()), QStringLiteral("Порт"));
    ini.writeString("general", "Name", QStringLiteral("Ёж"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readBytes(path), QByteArray("[general]\r\nName=\xA8\xE6\r\n"));
}

TEST(IniFile, UnreadableOrUnwritablePathsFail) {
    QTemporaryDir dir;
    TIniFile folder(dir.path());
    EXPECT_FALSE(folder.load());
    EXPECT_FALSE(folder.errorString().isEmpty());

    const QString aFile = dir.filePath("plain");
    writeBytes(aFile, "x");
    TIniFile under(aFile + "/options.ini");
    ASSERT_TRUE(under.load()); // does not exist: reads as empty
    under.writeString("general", "A", "1");
    EXPECT_FALSE(under.save());
    EXPECT_FALSE(under.errorString().isEmpty());
}

} // namespace
