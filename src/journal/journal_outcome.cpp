#include "journal/journal_outcome.h"

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

} // namespace

TJournalOutcome journalFailure(const QSqlError &error, const QString &path) {
    return journalFailure(faultOf(error), path, error.text());
}

TJournalOutcome journalFailure(TJournalFault fault, const QString &path, const QString &detail) {
    TJournalOutcome outcome;
    outcome.ok = false;
    outcome.fault = fault;
    outcome.tell = fault != TJournalFault::NotOpen;
    outcome.path = path;
    outcome.detail = detail;
    return outcome;
}

TJournalOutcome journalRecovered(const QString &movedAside) {
    TJournalOutcome outcome;
    outcome.fault = TJournalFault::Corrupt;
    outcome.tell = true;
    outcome.movedAside = movedAside;
    return outcome;
}
