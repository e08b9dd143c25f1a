// What the user reads about the run journal, for each fault the journal gives.
#include "ui/journal_texts.h"

#include "journal/journal_outcome.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct FaultCase {
    TJournalFault fault;
    const char *text;
};

TEST(JournalTexts, EachFaultIsSaidOnce) {
    const QString path = QStringLiteral("/data/bench/runs.sqlite");
    const FaultCase cases[] = {
        {TJournalFault::NoDriver,
         "Журнал измерений не ведётся: в системе нет драйвера SQLite для Qt."},
        {TJournalFault::FolderNotWritable,
         "Журнал измерений не ведётся: нет права записи в папку «/data/bench»."},
        {TJournalFault::DiskFull, "Журнал измерений не ведётся: на диске нет места."},
        {TJournalFault::Locked,
         "Журнал измерений не ведётся: файл журнала занят другой программой."},
        {TJournalFault::Corrupt, "Журнал измерений не ведётся: файл журнала повреждён."},
        {TJournalFault::TooNew,
         "Журнал измерений не ведётся: файл журнала записан более новой версией программы."},
        {TJournalFault::IoError,
         "Журнал измерений не ведётся: ошибка чтения или записи файла журнала."},
        {TJournalFault::Failed,
         "Журнал измерений не ведётся: ошибка базы данных (no such table: runs)."},
        {TJournalFault::NotOpen, ""},
    };
    for (const FaultCase &c : cases) {
        TJournalOutcome outcome =
            journalFailure(c.fault, path, QStringLiteral("no such table: runs"));
        EXPECT_EQ(journaltext::outcome(outcome), QString::fromUtf8(c.text)) << c.text;
        outcome.tell = false;
        EXPECT_EQ(journaltext::outcome(outcome), QString()) << "said already: " << c.text;
    }
}

TEST(JournalTexts, ADamagedFileMovedAsideIsNamed) {
    const QString aside = QStringLiteral("/data/runs-damaged-1.sqlite");
    EXPECT_EQ(journaltext::outcome(journalRecovered(aside)),
              QStringLiteral("Файл журнала измерений был повреждён и сохранён как «%1»; начат "
                             "новый журнал.")
                  .arg(QDir::toNativeSeparators(aside)));
}

} // namespace
