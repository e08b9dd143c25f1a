#include "journal/journal_reading_scan.h"

#include "journal/journal_sql.h"

#include <QSqlDriver>
#include <QVariant>

#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace {

// Whether the SQLite the driver calls is the one this program calls: the
// driver's library (the one holding its code) then finds SQLite's functions
// where this program does. A Qt whose driver has SQLite built in would not;
// handing its connection to another copy of SQLite would wreck it.
bool driverSharesOurSqlite(const QSqlDriver *driver) {
    Dl_info info{};
    const void *driverCode = *reinterpret_cast<void *const *>(driver); // its vtable
    if (dladdr(driverCode, &info) == 0 || !info.dli_fname)
        return false;
    void *library = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return false;
    const bool same = dlsym(library, "sqlite3_step") == reinterpret_cast<void *>(&sqlite3_step);
    dlclose(library);
    return same;
}

// The driver's SQLite connection, when this program may use it directly.
sqlite3 *sharedHandle(const QSqlDatabase &db) {
    const QSqlDriver *driver = db.driver();
    const QVariant handle = driver ? driver->handle() : QVariant();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    static const bool shared = driverSharesOurSqlite(driver);
    return shared ? *static_cast<sqlite3 *const *>(handle.constData()) : nullptr;
}

// A text column read row after row. A text equal to the previous row's (the
// names and units of a run mostly are) is handed back shared rather than
// converted and allocated again. NULL reads as a null string, as through Qt SQL.
class TextColumn {
public:
    explicit TextColumn(int index) : m_index(index) {}
    const QString &read(sqlite3_stmt *row) {
        // Only NULL (or a failed conversion) reads as no text: the type is
        // asked for only then, one call fewer per column of every row.
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, m_index));
        if (!text && sqlite3_column_type(row, m_index) == SQLITE_NULL) {
            m_known = false;
            return m_null;
        }
        const int bytes = sqlite3_column_bytes(row, m_index);
        if (m_known && size_t(bytes) == m_bytes.size() &&
            std::memcmp(text, m_bytes.data(), bytes) == 0)
            return m_text;
        m_bytes.assign(text ? text : "", bytes);
        m_text = QString::fromUtf8(m_bytes.data(), bytes);
        m_known = true;
        return m_text;
    }

private:
    int m_index;
    bool m_known = false;
    std::string m_bytes;
    QString m_text;
    const QString m_null;
};

double realAt(sqlite3_stmt *row, int index) {
    if (sqlite3_column_type(row, index) == SQLITE_NULL)
        return std::numeric_limits<double>::quiet_NaN();
    return sqlite3_column_double(row, index);
}

QByteArray blobAt(sqlite3_stmt *row, int index) {
    if (sqlite3_column_type(row, index) == SQLITE_NULL)
        return QByteArray();
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(row, index));
    return QByteArray(bytes, sqlite3_column_bytes(row, index));
}

// As Qt's driver reports a failed statement: SQLite's message and its code.
bool failed(sqlite3 *db, int code, QSqlError *error) {
    *error = QSqlError(QStringLiteral("Unable to fetch row"),
                       QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                       QString::number(code));
    return false;
}

} // namespace

bool readsStraightThroughSqlite(const QSqlDatabase &db) {
    return sharedHandle(db) != nullptr;
}

bool scanReadings(const QSqlDatabase &db, const TReadingRange &range, const TReadingSink &take,
                  QSqlError *error) {
    sqlite3 *handle = sharedHandle(db);
    if (!handle)
        return scanReadingsThroughQt(db, range, take, error);
    sqlite3_stmt *prepared = nullptr;
    const int preparedCode = sqlite3_prepare_v2(handle, kSelectReadings, -1, &prepared, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> statement(prepared,
                                                                           sqlite3_finalize);
    if (preparedCode != SQLITE_OK)
        return failed(handle, preparedCode, error);
    sqlite3_stmt *row = statement.get();
    sqlite3_bind_int64(row, 1, range.First);
    sqlite3_bind_int64(row, 2, range.Last);
    sqlite3_bind_int64(row, 3, range.RunId);

    TextColumn mainName(10), mainValue(11), mainUnit(12), mainBase(13), secName(14),
        secValue(15), secUnit(16), secBase(17), cellText(18);
    TSqlTimeReader times;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(row)) == SQLITE_ROW) {
        TJournalReading r;
        r.Row = sqlite3_column_int(row, 1);
        r.Col = sqlite3_column_int(row, 2);
        r.TempIndex = sqlite3_column_int(row, 3);
        r.FreqIndex = sqlite3_column_int(row, 4);
        if (sqlite3_column_type(row, 5) != SQLITE_NULL)
            r.Time = times.readUtf8(
                QByteArrayView(reinterpret_cast<const char *>(sqlite3_column_text(row, 5)),
                               sqlite3_column_bytes(row, 5)));
        r.SetPoint = realAt(row, 6);
        r.Temperature = realAt(row, 7);
        r.FrequencyHz = sqlite3_column_int(row, 8);
        r.Frame = blobAt(row, 9);
        r.MainName = mainName.read(row);
        r.MainValue = mainValue.read(row);
        r.MainUnit = mainUnit.read(row);
        r.MainBase = mainBase.read(row);
        r.SecName = secName.read(row);
        r.SecValue = secValue.read(row);
        r.SecUnit = secUnit.read(row);
        r.SecBase = secBase.read(row);
        r.CellText = cellText.read(row);
        r.Seq = sqlite3_column_int64(row, 19);
        take(sqlite3_column_int(row, 0), std::move(r));
    }
    return code == SQLITE_DONE || failed(handle, code, error);
}
