// The time zone read once at the start gives the local times the system's own
// zone gives, and a TZ of the user's stays as it is.
#include "serial/platform.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <ctime>

namespace {

std::vector<qint64> localTimes() {
    std::vector<qint64> times;
    for (const QDate &day : {QDate(2026, 1, 15), QDate(2026, 7, 15)})
        times.push_back(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
    return times;
}

TEST(TimeZone, ReadOnceTheSystemsZoneAndKeepTheUsers) {
    qunsetenv("TZ");
    tzset();
    const std::vector<qint64> system = localTimes();
    platform::readTheTimeZoneOnce();
    if (QFile::exists(QStringLiteral("/etc/localtime")))
        EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    EXPECT_EQ(localTimes(), system);

    qputenv("TZ", "Asia/Novosibirsk");
    platform::readTheTimeZoneOnce();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("Asia/Novosibirsk"));
}

} // namespace
