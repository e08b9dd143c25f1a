#include "base/event_log.h"

#include "base/cp1251.h"

namespace {

// Removes the time-zone fields ("t", "tt", ...) from a QLocale time format,
// together with the blanks that separate them from the rest. Log lines are
// local time, and Qt's long formats would append the zone name.
QString withoutTimeZone(const QString &format) {
    QString out;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
                ++i;
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            if (out.isEmpty()) {
                while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char(' '))
                    ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString RawToHex(const TEventRec &E) {
    const QByteArray bytes(reinterpret_cast<const char *>(E.RawData.data()), E.RawData.size());
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString RawToText(const TEventRec &E) {
    QByteArray kept;
    for (const uint8_t b : E.RawData) {
        if (b > 0x20)
            kept.append(static_cast<char>(b));
    }
    return cp1251::decode(kept);
}

namespace {

QString timeStamp(const QDateTime &when, const QLocale &locale) {
    QString stamp = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time != QTime(0, 0)) {
        stamp += QLatin1Char(' ');
        stamp += locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    }
    return stamp;
}

// A meter on a fast line logs forty lines a second, and the system locale is
// asked for its formats at each: the stamp of one second is made once. The
// long time format shows whole seconds; a midnight's stamp has no time at all.
struct StampOfSecond {
    QLocale locale;
    QDate date;
    int second = -1;
    QString stamp;
};

} // namespace

QString LogLine(const TEventRec &E, const QString &text, const QLocale &locale) {
    thread_local StampOfSecond last;
    const QDate date = E.Time.date();
    const QTime time = E.Time.time();
    if (time == QTime(0, 0))
        return timeStamp(E.Time, locale) + QStringLiteral("->") + text;
    const int second = time.msecsSinceStartOfDay() / 1000;
    if (second != last.second || date != last.date || !(locale == last.locale))
        last = {locale, date, second, timeStamp(E.Time, locale)};
    return last.stamp + QStringLiteral("->") + text;
}
