#include "ui/journal_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace journaltext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Journal", text);
}

QString reason(const TJournalOutcome &outcome) {
    switch (outcome.fault) {
    case TJournalFault::None:
    case TJournalFault::NotOpen:
        return QString();
    case TJournalFault::NoDriver:
        return tr("в системе нет драйвера SQLite для Qt.");
    case TJournalFault::FolderNotWritable:
        return tr("нет права записи в папку «%1».")
            .arg(QDir::toNativeSeparators(QFileInfo(outcome.path).absolutePath()));
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

} // namespace journaltext
