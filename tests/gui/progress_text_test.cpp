#include <QDateTime>

#include "ui/progress_text.h"

#include <gtest/gtest.h>

namespace {

const QChar kComma = QLatin1Char(',');

TEST(ProgressText, DurationsElapsedTimeAndDrift) {
    EXPECT_EQ(progresstext::duration(45, true, kComma), "45 с");
    EXPECT_EQ(progresstext::duration(12 * 60 + 5, true, kComma), "12 мин 5 с");
    EXPECT_EQ(progresstext::duration(3 * 3600 + 7 * 60 + 59, true, kComma), "3 ч 7 мин");
    EXPECT_EQ(progresstext::duration(30 * 3600, false, kComma), "30 ч 0 мин");
    EXPECT_EQ(progresstext::duration(12 * 60 + 5, false, kComma), "12 мин");
    EXPECT_EQ(progresstext::duration(59, false, kComma), "меньше минуты");
    EXPECT_EQ(progresstext::elapsed(std::nullopt, kComma), "Время: —");
    EXPECT_EQ(progresstext::cells(12, 405, kComma), "Ячейки: 12 из 405");
    EXPECT_EQ(progresstext::cells(405, 405, kComma), "Таблица заполнена: 405 из 405");
    EXPECT_EQ(progresstext::cells(0, 0, kComma), "Ячейки: 0 из 0");

    EXPECT_EQ(progresstext::drift(std::nullopt, kComma), "Дрейф: —");
    EXPECT_EQ(progresstext::drift(TTemperatureTrend::Drift{0.349, true}, kComma),
              "Дрейф: +0,35 °C/мин");
    EXPECT_EQ(progresstext::drift(TTemperatureTrend::Drift{-1.5, true}, kComma),
              "Дрейф: -1,50 °C/мин");
    EXPECT_EQ(progresstext::drift(TTemperatureTrend::Drift{-0.004, false}, kComma),
              "Дрейф: 0,00 °C/мин")
        << "no sign on a drift that rounds to zero";
    EXPECT_EQ(progresstext::drift(TTemperatureTrend::Drift{0.78, true, true}, kComma),
              "Дрейф: стабильно")
        << "the last minute stood still, whatever the window before it did";
}

TEST(ProgressText, ArrivalInWholeMinutesWithTheClockTime) {
    const QDateTime now(QDate(2024, 3, 5), QTime(17, 30, 10));
    // The last minute in seconds, never 0; from a minute on, whole minutes rounded up.
    const std::pair<double, const char *> cases[] = {
        {44.2, "До 22 °C: 44 с, около 17:30"}, {0.4, "До 22 °C: 1 с, около 17:30"},
        {58.5, "До 22 °C: 59 с, около 17:31"}, {59.5, "До 22 °C: 1 мин, около 17:31"},
        {61, "До 22 °C: 2 мин, около 17:32"},
    };
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(progresstext::arrival({TArrival::Arriving, 22, seconds}, now, kComma),
                  QString::fromUtf8(text))
            << seconds;
    EXPECT_EQ(progresstext::arrival({TArrival::Arriving, 22, 3900}, now, kComma),
              "До 22 °C: 1 ч 5 мин, около 18:35");
    EXPECT_EQ(progresstext::arrival({TArrival::Arriving, -49.5, 61}, now, kComma),
              "До -49,5 °C: 2 мин, около 17:32");
    EXPECT_EQ(progresstext::arrival({TArrival::Arriving, 80, 8 * 3600}, now, kComma),
              "До 80 °C: 8 ч 0 мин, около 06.03 01:30");
    EXPECT_EQ(progresstext::arrival({TArrival::Reached, 21, 0}, now, kComma),
              "Точка 21 °C: сейчас");
    EXPECT_EQ(progresstext::arrival({TArrival::Away, 0, 0}, now, kComma), "Следующая точка: —");
    EXPECT_EQ(progresstext::arrival({TArrival::Unknown, 0, 0}, now, kComma), "Следующая точка: —");
}

} // namespace
