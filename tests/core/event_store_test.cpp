#include "base/event_log.h"
#include "meter/frame_scan.h"
#include "model/event_store.h"
#include "thermo/temp_parse.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cmath>

namespace {
const QChar kComma(',');
const QDateTime kNow(QDate(2024, 12, 8), QTime(9, 5, 3));

// A meter record of a frame showing Rp 123,45 kOm at `mantissa` times the
// frequency unit of `exponent` (0 Hz, 3 kHz, 6 MHz).
TEventRec meterRecord(uint16_t mantissa, uint8_t exponent = 0) {
    TEventRec E;
    E.Kind = kMeterRecord;
    E.Time = kNow;
    const uint8_t bytes[21] = {0xAA,
                               0x00,
                               0x00,
                               0x02,
                               uint8_t(mantissa),
                               uint8_t(mantissa >> 8),
                               exponent,
                               0x02,
                               0x00,
                               0x04,
                               0x02,
                               0x0D,
                               0x39,
                               0x30,
                               0x00,
                               0xFD,
                               0x39,
                               0x30,
                               0x00,
                               0x01,
                               0x04};
    std::copy(std::begin(bytes), std::end(bytes), E.RawData.begin());
    return E;
}

TEventRec tempRecord(const QByteArray &line) {
    return TempRecordFromLine(line, kNow);
}

TEventRec linkLoss(uint8_t kind) {
    TEventRec E;
    E.Kind = kind;
    E.Time = kNow;
    return E;
}

TEventRec lastOf(const TMyStorage &store, uint8_t kind) {
    TEventRec E;
    EXPECT_TRUE(store.GetLast(kind, E));
    EXPECT_EQ(E.Status, 0);
    return E;
}

TEST(EventStore, GetLastOnAnEmptyListLeavesTheRecordAlone) {
    TMyStorage store(kComma);
    store.AddEvent(meterRecord(1000));
    for (const uint8_t kind : {uint8_t(kTempRecord), uint8_t(0), uint8_t(3)}) {
        TEventRec E = meterRecord(77);
        E.Index = 42;
        EXPECT_FALSE(store.GetLast(kind, E));
        EXPECT_EQ(E.Status, 1);
        EXPECT_EQ(E.Index, 42);
        EXPECT_EQ(E.RawData, meterRecord(77).RawData);
    }
    // Records of an unknown kind are not stored.
    store.AddEvent(linkLoss(3));
    EXPECT_EQ(store.heldCount(kMeterRecord), 1);
    EXPECT_EQ(store.heldCount(kTempRecord), 0);
}

TEST(EventStore, MeterRecordIsDecodedAndCarriesThePreviousFrequency) {
    TMyStorage store(kComma);
    store.AddEvent(meterRecord(1000));
    TEventRec first = lastOf(store, kMeterRecord);
    EXPECT_EQ(first.Index, 0);
    EXPECT_EQ(first.Frequency, 0);
    EXPECT_EQ(first.IM.FreqHz, 1000);
    EXPECT_EQ(first.IM.MainValue, "123,45");
    EXPECT_EQ(first.Time, kNow);

    store.AddEvent(meterRecord(2, 3));
    const TEventRec second = lastOf(store, kMeterRecord);
    EXPECT_EQ(second.Index, 1);
    EXPECT_EQ(second.Frequency, 1000);
    EXPECT_EQ(second.IM.FreqHz, 2000);
    EXPECT_EQ(store.LastFrequency(), 2000);

    // A link-loss tick decodes to frequency 0.
    store.AddEvent(linkLoss(kMeterRecord));
    EXPECT_EQ(lastOf(store, kMeterRecord).Frequency, 2000);
    EXPECT_EQ(store.LastFrequency(), 0);
}

TEST(EventStore, SinceKeyCountsModulo256FromTheLastKeyPress) {
    TMyStorage store(kComma);
    store.AddEvent(meterRecord(1000));
    store.AddEvent(meterRecord(1000));
    store.ResetKeyCounter();
    EXPECT_EQ(store.MeterSinceKey(), 0);
    const uint8_t expected[] = {1, 2};
    for (const uint8_t sinceKey : expected) {
        store.AddEvent(meterRecord(1000));
        EXPECT_EQ(lastOf(store, kMeterRecord).SinceKey, sinceKey);
    }
    for (int i = 3; i <= 255; ++i)
        store.AddEvent(meterRecord(1000));
    EXPECT_EQ(lastOf(store, kMeterRecord).SinceKey, 255);
    store.AddEvent(meterRecord(1000));
    EXPECT_EQ(lastOf(store, kMeterRecord).SinceKey, 0);
    store.AddEvent(meterRecord(1000));
    EXPECT_EQ(lastOf(store, kMeterRecord).SinceKey, 1);
    EXPECT_EQ(store.MeterSinceKey(), 1);
}

TEST(EventStore, TemperatureIsKnownOnlyFromTheLatestValidLine) {
    TMyStorage store(kComma);
    EXPECT_TRUE(std::isnan(store.LastTemperature()));

    struct Step {
        const char *name;
        TEventRec record;
        double temperature; // NaN: unknown after this record
    };
    const double nan = std::nan("");
    const Step steps[] = {
        {"meter before any line", meterRecord(1000), nan},
        {"valid line", tempRecord("$DS1820,1,OK,2,23.50,5,6,7,8*3D"), 23.5},
        {"bad checksum", tempRecord("$DS1820,1,OK,2,24.50,5,6,7,8*3D"), nan},
        {"valid again", tempRecord("$DS1820,1,OK,2,23.50,5,6,7,8*3D"), 23.5},
        {"link loss", linkLoss(kTempRecord), nan},
        {"valid again", tempRecord("$DS1820,1,OK,2,23.50,5,6,7,8*3D"), 23.5},
        {"not a number", tempRecord("$DS1820,1,OK,2,2x,5,6,7,8*44"), nan},
        {"eight fields", tempRecord("$DS1820,1,OK,2,23.50,5,6,7*3D"), nan},
    };
    for (const Step &s : steps) {
        store.AddEvent(s.record);
        const bool known = !std::isnan(s.temperature);
        EXPECT_EQ(!std::isnan(store.LastTemperature()), known) << s.name;
        if (known) {
            EXPECT_DOUBLE_EQ(store.LastTemperature(), s.temperature) << s.name;
        }

        // A meter frame stored now carries exactly that temperature.
        store.AddEvent(meterRecord(1000));
        const double carried = lastOf(store, kMeterRecord).Temperature;
        EXPECT_EQ(!std::isnan(carried), known) << s.name;
        if (known) {
            EXPECT_DOUBLE_EQ(carried, s.temperature) << s.name;
        }
    }

    const TEventRec last = lastOf(store, kTempRecord);
    EXPECT_EQ(last.Kind, kTempRecord);
    EXPECT_EQ(last.Index, 6);
    EXPECT_EQ(last.Temp.TempText, "::");
}

TEST(EventStore, HistoryIsBoundedWhileIndexKeepsCounting) {
    TMyStorage store(kComma);
    store.AddEvent(tempRecord("$DS1820,1,OK,2,23.50,5,6,7,8*3D"));
    for (int i = 0; i < 5000; ++i)
        store.AddEvent(meterRecord(1000));
    EXPECT_EQ(store.heldCount(kMeterRecord), TMyStorage::kHistoryLimit);
    EXPECT_EQ(lastOf(store, kMeterRecord).Index, 4999);
    // Many records of one kind never push out the newest of the other.
    EXPECT_EQ(store.heldCount(kTempRecord), 1);
    EXPECT_EQ(lastOf(store, kTempRecord).Temp.TempText, "23.50");
}

TEST(EventLog, RawDumps) {
    const TEventRec meter = meterRecord(1000);
    const QString hex = RawToHex(meter);
    EXPECT_EQ(hex.size(), 120);
    EXPECT_TRUE(hex.startsWith("AA000002E80300"));
    EXPECT_TRUE(hex.endsWith(QString(78, '0')));
    EXPECT_EQ(hex, hex.toUpper());

    const TEventRec line = tempRecord("$DS1820, 1,\tOK \xC0\xFF");
    EXPECT_EQ(RawToText(line), QString::fromUtf8("$DS1820,1,OKАя"));
    EXPECT_EQ(RawToText(linkLoss(kTempRecord)), "");
}

TEST(EventLog, LineStartsWithTheLocalesDateAndTime) {
    const QLocale russian(QLocale::Russian);
    TEventRec E = meterRecord(1000);
    const QString date = russian.toString(kNow.date(), QLocale::ShortFormat);
    // Qt versions differ in the hour's leading zero; the zone name never appears.
    const auto matches = [&](const QString &pattern) {
        return QRegularExpression(
                   QRegularExpression::anchoredPattern(QRegularExpression::escape(date) + pattern))
            .match(LogLine(E, "x", russian))
            .hasMatch();
    };
    EXPECT_TRUE(matches(" 0?9:05:03->x")) << LogLine(E, "x", russian).toStdString();

    E.Time = QDateTime(QDate(2024, 12, 8), QTime(0, 0));
    EXPECT_EQ(LogLine(E, "x", russian), date + "->x");
    E.Time = QDateTime(QDate(2024, 12, 8), QTime(0, 0, 0, 1));
    EXPECT_TRUE(matches(" 0?0:00:00->x")) << LogLine(E, "x", russian).toStdString();

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    E.Time = QDateTime(QDate(2024, 12, 8), QTime(21, 5, 3));
    const QString usLine = LogLine(E, "x", us);
    EXPECT_TRUE(usLine.startsWith(us.toString(E.Time.date(), QLocale::ShortFormat) + " 9:05:03"))
        << usLine.toStdString();
    EXPECT_TRUE(usLine.endsWith("PM->x")) << usLine.toStdString();

    // The same second in another locale, then the next second.
    E.Time = QDateTime(QDate(2024, 12, 8), QTime(21, 5, 3, 900));
    EXPECT_TRUE(matches(" 21:05:03->x")) << LogLine(E, "x", russian).toStdString();
    E.Time = QDateTime(QDate(2024, 12, 8), QTime(21, 5, 4));
    EXPECT_TRUE(matches(" 21:05:04->x")) << LogLine(E, "x", russian).toStdString();
    E.Time = QDateTime(QDate(2024, 12, 9), QTime(21, 5, 4));
    EXPECT_EQ(LogLine(E, "x", russian).left(10), russian.toString(E.Time.date(), QLocale::ShortFormat));
}

} // namespace
