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

char16_t unit(QChar c) {
    return c.unicode();
}

char16_t unit(char c) {
    return static_cast<unsigned char>(c);
}

// The digits at `from` .. `from + count` of `text` as a number, or -1.
template <typename Text> int digitsAt(Text text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = unit(text[i]);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QString toQString(QStringView text) {
    return text.toString();
}

QString toQString(QByteArrayView text) {
    return QString::fromUtf8(text);
}

} // namespace

QDateTime TSqlTimeReader::read(const QVariant &value) {
    if (value.isNull())
        return QDateTime();
    const QString text = value.toString();
    return readText(QStringView(text));
}

QDateTime TSqlTimeReader::readUtf8(QByteArrayView text) {
    return readText(text);
}

template <typename Text> QDateTime TSqlTimeReader::readText(Text text) {
    // "yyyy-MM-ddTHH:mm:ss.zzz", as sqlTime writes it; anything else the slow way.
    constexpr int kLength = 23;
    constexpr int kHourLength = 13;
    if (text.size() != kLength || unit(text[13]) != u':' || unit(text[16]) != u':' ||
        unit(text[19]) != u'.')
        return QDateTime::fromString(toQString(text), Qt::ISODateWithMs);
    const int minutes = digitsAt(text, 14, 2);
    const int seconds = digitsAt(text, 17, 2);
    const int millis = digitsAt(text, 20, 3);
    if (minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 || millis < 0)
        return QDateTime::fromString(toQString(text), Qt::ISODateWithMs);
    bool sameHour = m_hourKnown;
    for (int i = 0; sameHour && i < kHourLength; ++i)
        sameHour = m_hour[i] == unit(text[i]);
    if (!sameHour) {
        const QString hour = toQString(text.first(kHourLength));
        const QDateTime start =
            QDateTime::fromString(hour + QStringLiteral(":00:00.000"), Qt::ISODateWithMs);
        if (!start.isValid() || hour.size() != kHourLength) {
            m_hourKnown = false;
            return QDateTime::fromString(toQString(text), Qt::ISODateWithMs);
        }
        for (int i = 0; i < kHourLength; ++i)
            m_hour[i] = hour.at(i).unicode();
        m_hourStart = start.toMSecsSinceEpoch();
        m_hourKnown = true;
    }
    return QDateTime::fromMSecsSinceEpoch(m_hourStart +
                                          (minutes * 60 + seconds) * 1000 + millis);
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
