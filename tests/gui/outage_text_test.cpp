#include "ui/outage_text.h"

#include <gtest/gtest.h>

namespace {

const QChar kComma = QLatin1Char(',');
const QDateTime kStart(QDate(2026, 12, 11), QTime(3, 12, 5));

TEST(OutageText, SilencesAndOutagesInWords) {
    EXPECT_EQ(outagetext::silence(TInstrument::Meter, 15, kComma), "Измеритель: нет данных 15 с");
    EXPECT_EQ(outagetext::silence(TInstrument::Thermometer, 125, kComma),
              "Термометр: нет данных 2 мин 5 с");

    const struct {
        TLinkOutage outage;
        const char *text;
    } cases[] = {
        {{TInstrument::Meter, kStart, kStart.addSecs(70)},
         "Измеритель: 11.12.2026 03:12:05 – 03:13:15 (1 мин 10 с)"},
        {{TInstrument::Thermometer, kStart, kStart.addSecs(24 * 3600 + 40)},
         "Термометр: 11.12.2026 03:12:05 – 12.12.2026 03:12:45 (24 ч 0 мин)"},
        {{TInstrument::Meter, kStart, QDateTime()},
         "Измеритель: 11.12.2026 03:12:05 – не закончился"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(outagetext::outage(c.outage, kComma), QString::fromUtf8(c.text));

    EXPECT_EQ(outagetext::outageList({}, kComma), "Перерывы связи: нет.");
    EXPECT_EQ(outagetext::outageList({cases[0].outage, cases[2].outage}, kComma),
              QString::fromUtf8("Перерывы связи:\n") + cases[0].text + "\n" + cases[2].text);
}

} // namespace
