#include "journal/journal_outcome.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace {

// SQLite's primary result codes; extended codes carry them in the low byte.
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kAuth = 23,
    kNotADb = 26,
};

TJournalFault faultOf(const QSqlError &error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber) & 0xff;
    if (!isNumber)
        return TJournalFault::Failed;
    switch (code) {
    case kPerm:
    case kReadOnly:
    case kCantOpen:
    case kAuth:
        return TJournalFault::FolderNotWritable;
    case kBusy:
    case kLocked:
        return TJournalFault::Locked;
    case kIoErr:
        return TJournalFault::IoError;
    case kCorrupt:
    case kNotADb:
        return TJournalFault::Corrupt;
    case kFull:
        return TJournalFault::DiskFull;
    default:
        return TJournalFault::Failed;
    }
}

QString reason(TJournalFault fault, const QString &path, const QString &detail) {
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    switch (fault) {
    case TJournalFault::None:
    case TJournalFault::NotOpen:
        return QString();
    case TJournalFault::NoDriver:
        return QStringLiteral("в системе нет драйвера SQLite для Qt.");
    case TJournalFault::FolderNotWritable:
        return QStringLiteral("нет права записи в папку «%1».").arg(folder);
    case TJournalFault::DiskFull:
        return QStringLiteral("на диске нет места.");
    case TJournalFault::Locked:
        return QStringLiteral("файл журнала занят другой программой.");
    case TJournalFault::Corrupt:
        return QStringLiteral("файл журнала повреждён.");
    case TJournalFault::TooNew:
        return QStringLiteral("файл журнала записан более новой версией программы.");
    case TJournalFault::IoError:
        return QStringLiteral("ошибка чтения или записи файла журнала.");
    case TJournalFault::Failed:
        break;
    }
    return QStringLiteral("ошибка базы данных (%1).").arg(detail);
}

} // namespace

TJournalOutcome journalFailure(const QSqlError &error, const QString &path) {
    return journalFailure(faultOf(error), path, error.text());
}

TJournalOutcome journalFailure(TJournalFault fault, const QString &path, const QString &detail) {
    TJournalOutcome outcome;
    outcome.ok = false;
    outcome.fault = fault;
    const QString why = reason(fault, path, detail);
    if (!why.isEmpty())
        outcome.message = QStringLiteral("Журнал измерений не ведётся: ") + why;
    return outcome;
}

TJournalOutcome journalRecovered(const QString &movedAside) {
    TJournalOutcome outcome;
    outcome.fault = TJournalFault::Corrupt;
    outcome.movedAside = movedAside;
    outcome.message =
        QStringLiteral(
            "Файл журнала измерений был повреждён и сохранён как «%1»; начат новый журнал.")
            .arg(QDir::toNativeSeparators(movedAside));
    return outcome;
}
