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

QString LogLine(const TEventRec &E, const QString &text, const QLocale &locale) {
    QString stamp = locale.toString(E.Time.date(), QLocale::ShortFormat);
    const QTime time = E.Time.time();
    if (time != QTime(0, 0)) {
        stamp += QLatin1Char(' ');
        stamp += locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    }
    return stamp + QStringLiteral("->") + text;
}
