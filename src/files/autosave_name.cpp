#include "files/autosave_name.h"

#include <QDir>

namespace {

// Windows refuses these in a name, and trims trailing dots and blanks.
QString safeForFileName(const QString &text) {
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text)
        safe += (c.unicode() < 0x20 || kForbidden.contains(c)) ? QLatin1Char('_') : c;
    safe = safe.simplified();
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    return safe;
}

} // namespace

QString autosaveFileName(const QString &folder, const QString &label, const QDateTime &time,
                         const std::function<bool(const QString &path)> &exists) {
    QString stem = safeForFileName(label);
    if (!stem.isEmpty())
        stem += QLatin1Char(' ');
    stem += time.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    const QDir dir(folder);
    QString path = dir.filePath(stem + QStringLiteral(".csv"));
    for (int n = 2; exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).csv").arg(stem).arg(n));
    return path;
}

QString tableLabel(const QString &tempInit, const QString &tempFinal) {
    return QStringLiteral("Таблица от %1 до %2 °C").arg(tempInit, tempFinal);
}
