#include "settings/ini_file.h"

#include "base/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool isSectionLine(const QString &line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

// The name between "[" and "]"; a line without "]" names everything after "[".
QString sectionName(const QString &line) {
    const QString t = line.trimmed();
    const int close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TIniFile::TIniFile(const QString &path) : m_path(path) {}

bool TIniFile::load() {
    m_lines.clear();
    m_error.clear();
    m_loaded.reset();
    const QFileInfo info(m_path);
    if (!info.exists())
        return true;
    if (info.isFile() && info.size() > MaxFileBytes) {
        m_error = QStringLiteral("larger than %1 bytes").arg(MaxFileBytes);
        return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return false;
    }
    m_loaded = bytes;
    m_lines = cp1251::decode(bytes).split(QLatin1Char('\n'));
    // The line end of the last line leaves an empty piece behind it.
    if (m_lines.last().isEmpty())
        m_lines.removeLast();
    for (QString &line : m_lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return true;
}

TIniFile::SectionRange TIniFile::findSection(const QString &section) const {
    SectionRange range;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (!isSectionLine(m_lines.at(i)))
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(sectionName(m_lines.at(i)), section))
            range.header = i;
    }
    range.end = m_lines.size();
    return range;
}

int TIniFile::findKey(const SectionRange &range, const QString &key) const {
    if (range.header < 0)
        return -1;
    for (int i = range.header + 1; i < range.end; ++i) {
        const QString &line = m_lines.at(i);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && sameName(line.left(eq).trimmed(), key))
            return i;
    }
    return -1;
}

QString TIniFile::readString(const QString &section, const QString &key,
                             const QString &defaultValue) const {
    const int i = findKey(findSection(section), key);
    if (i < 0)
        return defaultValue;
    const QString &line = m_lines.at(i);
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2);
    return value;
}

void TIniFile::writeString(const QString &section, const QString &key, const QString &value) {
    // A line break would end the key's line early and turn the rest of the
    // value into lines of their own, even a section header hiding the keys after it.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString keyLine = key + QLatin1Char('=') + flat;
    const SectionRange range = findSection(section);
    if (range.header < 0) {
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(keyLine);
        return;
    }
    const int existing = findKey(range, key);
    if (existing >= 0) {
        m_lines[existing] = keyLine;
        return;
    }
    // Blank lines that separate the section from the next one stay after it.
    int at = range.end;
    while (at - 1 > range.header && m_lines.at(at - 1).trimmed().isEmpty())
        --at;
    m_lines.insert(at, keyLine);
}

bool TIniFile::save() {
    QString text;
    for (const QString &line : m_lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    const QByteArray bytes = cp1251::encode(text);
    // The settings are saved every few seconds; a file that already holds them is left
    // alone, so that the disk is not written and synced for nothing.
    if (m_loaded && *m_loaded == bytes && QFileInfo(m_path).isFile()) {
        m_error.clear();
        return true;
    }
    QSaveFile file(m_path);
    // A folder we may not create files in can still hold a writable settings file.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write shows in write()'s count.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit()) {
        m_loaded = bytes;
        m_error.clear();
        return true;
    }
    m_error = file.errorString();
    return false;
}
