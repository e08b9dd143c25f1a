#include "thermo/temp_parse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const QChar kComma(',');

TEventRec recordOf(const QByteArray &line) {
    return TempRecordFromLine(line, QDateTime(QDate(2024, 12, 8), QTime(9, 5, 3)));
}

// `body` (everything after "$", before "*") with the checksum the device would send.
QByteArray signedLine(const QByteArray &body) {
    uint8_t sum = 0;
    for (const char c : body)
        sum ^= uint8_t(c);
    return "$" + body + "*" + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper();
}

TEST(TempParse, SampleLineIsValid) {
    const TEventRec E = recordOf("$DS1820,1,OK,2,23.50,5,6,7,8*3D");
    for (const QChar sep : {kComma, QChar('.')}) {
        const TTempPacket p = ParseTempEvent(E, sep);
        EXPECT_TRUE(p.Valid);
        EXPECT_TRUE(p.HeaderOk);
        EXPECT_TRUE(p.StatusOk);
        EXPECT_TRUE(p.ChecksumOk);
        EXPECT_EQ(p.TempText, "23.50");
        EXPECT_DOUBLE_EQ(p.TempValue, 23.5);
        EXPECT_EQ(p.ChecksumText, "3D");
        EXPECT_EQ(p.ChecksumCalc, 0x3D);
        EXPECT_EQ(p.ChecksumCalcText, "3D");
        EXPECT_EQ(p.LastField, "8");
    }
}

TEST(TempParse, ChecksOfEachLine) {
    struct Case {
        const char *name;
        QByteArray line;
        bool valid, header, status, checksum;
        double temp; // NaN: no temperature may be taken from the line
        const char *tempText;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"blanks after commas", "$DS1820, 1, OK, 2, 23.50, 5, 6, 7, 8*3D", true, true, true, true,
         23.5, "23.50"},
        {"negative reading", signedLine("DS1820,1,OK,2,-50.56,5,6,7,8"), true, true, true, true,
         -50.56, "-50.56"},
        {"status in lower case", signedLine("DS1820,1,ok,2,23.50,5,6,7,8"), false, true, false,
         true, nan, "::"},
        {"checksum in lower case", "$DS1820,1,OK,2,23.50,5,6,7,8*3d", false, true, true, false, nan,
         "::"},
        {"checksum off", "$DS1820,1,OK,2,23.50,5,6,7,8*3E", false, true, true, false, nan, "::"},
        {"header in lower case", signedLine("ds1820,1,OK,2,23.50,5,6,7,8"), false, false, true,
         true, nan, "::"},
        {"eight fields", signedLine("DS1820,1,OK,2,23.50,5,6,7"), false, false, false, false, nan,
         "::"},
        // Without "*" both checksum texts are "00" when field 8 begins with it.
        {"no star, field 8 begins with 00", "$DS1820,1,OK,2,23.50,5,6,7,00x", true, true, true,
         true, 23.5, "23.50"},
        {"two decimal points", signedLine("DS1820,1,OK,2,23.5.0,5,6,7,8"), false, true, true, true,
         nan, "::"},
        {"empty temperature", signedLine("DS1820,1,OK,2,,5,6,7,8"), false, true, true, true, nan,
         "::"},
        {"empty line", "", false, false, false, false, nan, "::"},
        // Code page 1251 text in a free field: the device sums bytes.
        {"cyrillic free field", signedLine("DS1820,\xC0\xC1,OK,2,21.0,5,6,7,8"), true, true, true,
         true, 21.0, "21.0"},
    };
    for (const Case &c : cases) {
        const TTempPacket p = ParseTempEvent(recordOf(c.line), kComma);
        EXPECT_EQ(p.Valid, c.valid) << c.name;
        EXPECT_EQ(p.HeaderOk, c.header) << c.name;
        EXPECT_EQ(p.StatusOk, c.status) << c.name;
        EXPECT_EQ(p.ChecksumOk, c.checksum) << c.name;
        EXPECT_EQ(p.TempText, c.tempText) << c.name;
        if (std::isnan(c.temp))
            EXPECT_TRUE(std::isnan(p.TempValue)) << c.name;
        else
            EXPECT_DOUBLE_EQ(p.TempValue, c.temp) << c.name;
    }
}

TEST(TempParse, ChecksumPartsOfAnInvalidLineAreKept) {
    const TTempPacket p = ParseTempEvent(recordOf("$DS1820,1,OK,2,23.50,5,6,7,8*3d"), kComma);
    EXPECT_EQ(p.ChecksumText, "3d");
    EXPECT_EQ(p.ChecksumCalcText, "3D");
    EXPECT_EQ(p.LastField, "8");

    const TTempPacket eight = ParseTempEvent(recordOf("$DS1820,1,OK,2,23.50,5,6,7*00"), kComma);
    EXPECT_TRUE(eight.ChecksumCalcText.isEmpty());
    EXPECT_TRUE(eight.LastField.isEmpty());

    // The checksum runs to the first "*" of the line, even outside field 8.
    const TTempPacket early = ParseTempEvent(recordOf("$DS1820,1*,OK,2,20,5,6,7,8*01"), kComma);
    EXPECT_EQ(early.ChecksumCalcText, "01"); // "DS1820,1" alone
    EXPECT_TRUE(early.ChecksumOk);
}

TEST(TempParse, FieldSplitting) {
    struct Case {
        QString text;
        QStringList fields;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a,", {"a", ""}},
        {",,", {"", "", ""}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\"a\"\"b\",c", {"a\"b", "c"}},
        {"\"a\"x,c", {"ax", "c"}},
        {"\"open,c", {"open,c"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitTempFields(c.text), c.fields) << c.text.toStdString();
}

TEST(TempParse, RecordKeepsTheFirst60BytesOfTheLine) {
    const QByteArray line = QByteArray(70, 'x');
    const TEventRec E = recordOf(line);
    EXPECT_EQ(E.Kind, kTempRecord);
    EXPECT_EQ(E.Time, QDateTime(QDate(2024, 12, 8), QTime(9, 5, 3)));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(E.RawData.data()), 60), line.left(60));

    const TEventRec shortLine = recordOf("ab");
    EXPECT_EQ(shortLine.RawData[1], 'b');
    EXPECT_EQ(shortLine.RawData[2], 0);
}

} // namespace
