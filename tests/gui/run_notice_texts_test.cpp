// The words of the run's desktop notices, for each thing the run tells.
#include "ui/run_notice_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(RunNoticeTexts, EachNoticeHasItsTitleAndText) {
    TRunNotice stoppedUnsaved{TRunNotice::Kind::RunStopped};
    stoppedUnsaved.problem = QStringLiteral("Не удалось сохранить файл «t.csv»: диск полон");
    TRunNotice silent{TRunNotice::Kind::InstrumentSilent};
    silent.instrument = TInstrument::Thermometer;
    silent.since = QDateTime(QDate(2026, 12, 11), QTime(3, 7, 30));
    const struct {
        TRunNotice notice;
        const char *title;
        const char *text;
    } cases[] = {
        {{TRunNotice::Kind::TableFull},
         "Таблица заполнена",
         "Все ячейки таблицы заполнены. Измерения продолжаются."},
        {{TRunNotice::Kind::TableFullStopping},
         "Таблица заполнена",
         "Все ячейки таблицы заполнены. Измерения будут остановлены, а файл сохранён."},
        {stoppedUnsaved, "Измерения остановлены",
         "Таблица заполнена. Не удалось сохранить файл «t.csv»: диск полон"},
        {silent, "Термометр: нет данных",
         "Термометр не присылает данных больше минуты, с 03:07:30. Измерения идут."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(runnotice::title(c.notice), QString::fromUtf8(c.title)) << c.text;
        EXPECT_EQ(runnotice::text(c.notice), QString::fromUtf8(c.text));
    }
}

} // namespace
