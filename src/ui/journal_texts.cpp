#include "ui/journal_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace journaltext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Journal", text);
}

QString dateTime(const QDateTime &time) {
    return QLocale().toString(time, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QString folderOf(const QString &path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

QString reason(const TJournalOutcome &outcome) {
    switch (outcome.fault) {
    case TJournalFault::None:
    case TJournalFault::NotOpen:
        return QString();
    case TJournalFault::NoDriver:
        return tr("в системе нет драйвера SQLite для Qt.");
    case TJournalFault::FolderNotWritable:
        return tr("нет права записи в папку «%1».").arg(folderOf(outcome.path));
    case TJournalFault::DiskFull:
        return tr("на диске нет места.");
    case TJournalFault::Locked:
        return tr("файл журнала занят другой программой.");
    case TJournalFault::Corrupt:
        return tr("файл журнала повреждён.");
    case TJournalFault::TooNew:
        return tr("файл журнала записан более новой версией программы.");
    case TJournalFault::IoError:
        return tr("ошибка чтения или записи файла журнала.");
    case TJournalFault::Failed:
        break;
    }
    return tr("ошибка базы данных (%1).").arg(outcome.detail);
}

} // namespace

QString outcome(const TJournalOutcome &outcome) {
    if (!outcome.tell)
        return QString();
    if (outcome.ok)
        return tr("Файл журнала измерений был повреждён и сохранён как «%1»; начат новый журнал.")
            .arg(QDir::toNativeSeparators(outcome.movedAside));
    const QString why = reason(outcome);
    return why.isEmpty() ? QString() : tr("Журнал измерений не ведётся: %1").arg(why);
}

QString resumed() {
    return tr("Журнал измерений снова ведётся; отсчёты, сделанные за время сбоя, записаны в него.");
}

QString movedTo(const QString &formerPath, const QString &path) {
    return tr("Папка «%1» доступна только для чтения. Журнал измерений теперь ведётся в «%2».")
        .arg(folderOf(formerPath), QDir::toNativeSeparators(path));
}

QString openLeftRunQuestion(const QString &formerPath, const TJournalRunSummary &run) {
    return tr("В журнале в папке «%1» остались измерения, начатые %2, не сохранённые в файл "
              "(заполнено ячеек: %3). Открыть их? Их можно будет сохранить в файл; журнал в той "
              "папке останется как есть.")
        .arg(folderOf(formerPath), dateTime(run.StartedAt))
        .arg(run.CellCount);
}

QString restoreQuestion(const TJournalRunSummary &run) {
    QString question = tr("Программа была закрыта не как обычно, и измерения, начатые %1, не "
                          "сохранены в файл (заполнено ячеек: %2).")
                           .arg(dateTime(run.StartedAt))
                           .arg(run.CellCount);
    if (run.Incomplete)
        question += tr(" Журнал был недоступен во время измерений, и часть отсчётов в него не "
                       "попала.");
    return question + tr(" Восстановить их?");
}

QString openWhileRunning() {
    return tr("Во время измерений другую таблицу открыть нельзя. Остановите измерения.");
}

QString deleteRunQuestion(const TJournalRunSummary &run) {
    return tr("Удалить из журнала измерения, начатые %1 (заполнено ячеек: %2)? Вернуть их будет "
              "нельзя.")
        .arg(dateTime(run.StartedAt))
        .arg(run.CellCount);
}

QString noRunsOlderThan(int days) {
    return tr("В журнале нет измерений старше %1 дн.").arg(QLocale().toString(days));
}

QString deleteOlderQuestion(int days, int runs, int unsaved) {
    const QLocale locale;
    QString question = tr("Удалить из журнала измерения старше %1 дн. (%2)?")
                           .arg(locale.toString(days), locale.toString(runs));
    if (unsaved > 0)
        question += tr(" Из них не сохранены в файл: %1.").arg(locale.toString(unsaved));
    return question + tr(" Вернуть их будет нельзя.");
}

} // namespace journaltext
