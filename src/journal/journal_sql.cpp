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

namespace {

// The digits at `from` .. `from + count` of `text` as a number, or -1.
int digitsAt(const QString &text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QDateTime TSqlTimeReader::read(const QVariant &value) {
    if (value.isNull())
        return QDateTime();
    const QString text = value.toString();
    // "yyyy-MM-ddTHH:mm:ss.zzz", as sqlTime writes it; anything else the slow way.
    constexpr int kLength = 23;
    if (text.size() != kLength || text.at(13) != QLatin1Char(':') ||
        text.at(16) != QLatin1Char(':') || text.at(19) != QLatin1Char('.'))
        return timeFromSql(value);
    const int minutes = digitsAt(text, 14, 2);
    const int seconds = digitsAt(text, 17, 2);
    const int millis = digitsAt(text, 20, 3);
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 || millis < 0)
        return timeFromSql(value);
    if (!m_hourStart.isValid() || QStringView(text).left(13) != m_hour) {
        m_hour = text.left(13);
        m_hourStart =
            QDateTime::fromString(m_hour + QStringLiteral(":00:00.000"), Qt::ISODateWithMs);
        if (!m_hourStart.isValid())
            return timeFromSql(value);
    }
    return m_hourStart.addMSecs((minutes * 60 + seconds) * 1000 + millis);
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
