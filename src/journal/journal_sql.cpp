#include "journal/journal_sql.h"

#include <QSqlQuery>
#include <QtGlobal>

#include <cmath>
#include <limits>

bool execSql(const QSqlDatabase &db, const QString &sql, QSqlError *error) {
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    *error = query.lastError();
    return false;
}

QVariant sqlTime(const QDateTime &time) {
    if (!time.isValid())
        return QVariant(QMetaType::fromType<QString>());
    return time.toLocalTime().toString(Qt::ISODateWithMs);
}

QDateTime timeFromSql(const QVariant &value) {
    if (value.isNull())
        return QDateTime();
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QVariant sqlReal(double value) {
    if (std::isnan(value))
        return QVariant(QMetaType::fromType<double>());
    return value;
}

double realFromSql(const QVariant &value) {
    if (value.isNull())
        return std::numeric_limits<double>::quiet_NaN();
    return value.toDouble();
}

TSqlTransaction::TSqlTransaction(const QSqlDatabase &db) : m_db(db) {}

TSqlTransaction::~TSqlTransaction() {
    if (!m_open)
        return;
    QSqlError error;
    // SQLite ends the transaction itself after some failures (a full disk);
    // the rollback then finds none, a plain SQLITE_ERROR not worth a word.
    const QString kNoTransaction = QStringLiteral("1");
    if (!execSql(m_db, QStringLiteral("ROLLBACK"), &error) &&
        error.nativeErrorCode() != kNoTransaction)
        qWarning("run journal: rollback failed: %s", qPrintable(error.text()));
}

bool TSqlTransaction::begin(bool write, QSqlError *error) {
    m_open =
        execSql(m_db, write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"), error);
    return m_open;
}

bool TSqlTransaction::commit(QSqlError *error) {
    if (!execSql(m_db, QStringLiteral("COMMIT"), error))
        return false;
    m_open = false;
    return true;
}
