#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A small INI file in code page 1251 with the rules of the Windows profile
// routines: "[section]" lines, "Key=Value" lines, section and key names
// compared without regard to case, blanks around names and values ignored,
// one pair of enclosing quotes taken off a value. Lines the reader does not
// understand (comments, other sections, unknown keys) are kept as they are
// when a value is written.
class TIniFile {
public:
    // No settings file the program writes comes near this; reading and
    // rewriting a larger one every few seconds would cost a core.
    static constexpr qint64 MaxFileBytes = 1 << 20;

    explicit TIniFile(const QString &path);

    // Reads the file. A missing file reads as an empty one; false, with
    // errorString(), when it exists but cannot be read (a folder, no access)
    // or is larger than MaxFileBytes (and then is not read at all).
    bool load();

    // The value of the first such key in the first such section, or
    // defaultValue when there is none. A key with nothing after "=" gives "".
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Replaces the key's line in place, or adds the key at the end of its
    // section, or the section at the end of the file. A line break in the value
    // is written as a blank. Takes effect on save().
    void writeString(const QString &section, const QString &key, const QString &value);

    // Writes every line with CR LF, creating the file when it is missing. A file
    // that holds these very bytes, as load() or save() last found or left it, is
    // not written again.
    bool save();

    QString errorString() const { return m_error; }

private:
    struct SectionRange {
        int header = -1; // line of "[section]", -1 when absent
        int end = 0;     // one past the section's last line
    };
    SectionRange findSection(const QString &section) const;
    int findKey(const SectionRange &range, const QString &key) const;

    QString m_path;
    QStringList m_lines;
    QString m_error;
    // The file's bytes as last read or written; nothing when it did not exist.
    std::optional<QByteArray> m_loaded;
};
