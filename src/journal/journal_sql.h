#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <array>

// Small helpers the journal's SQL code shares.

// Runs one statement that returns no rows; on failure fills `error`.
bool execSql(const QSqlDatabase &db, const QString &sql, QSqlError *error);

// Times are stored as local ISO 8601 text with milliseconds; an invalid time is NULL.
QVariant sqlTime(const QDateTime &time);
QDateTime timeFromSql(const QVariant &value);
// The times of one run mostly share their date and hour; this reads them
// without parsing each in full, looking the local hour up once.
class TSqlTimeReader {
public:
    QDateTime read(const QVariant &value);
    // The text of a column that is not NULL, as SQLite keeps it (UTF-8).
    QDateTime readUtf8(QByteArrayView text);

private:
    template <typename Text> QDateTime readText(Text text);

    std::array<char16_t, 13> m_hour{}; // "yyyy-MM-ddTHH" of m_hourStart
    qint64 m_hourStart = 0;            // since the epoch, in milliseconds
    bool m_hourKnown = false;
};
// SQLite stores a NaN as NULL, so NULL reads back as NaN.
QVariant sqlReal(double value);
double realFromSql(const QVariant &value);

// A write transaction begins IMMEDIATE: it takes the write lock at once, so
// a busy file shows at the start (after the short busy timeout) and never
// halfway through. A read transaction gives its queries one snapshot. A
// transaction not committed is rolled back when this goes out of scope.
class TSqlTransaction {
public:
    explicit TSqlTransaction(const QSqlDatabase &db);
    ~TSqlTransaction();
    TSqlTransaction(const TSqlTransaction &) = delete;
    TSqlTransaction &operator=(const TSqlTransaction &) = delete;

    bool begin(bool write, QSqlError *error);
    bool commit(QSqlError *error);

private:
    QSqlDatabase m_db;
    bool m_open = false;
};
