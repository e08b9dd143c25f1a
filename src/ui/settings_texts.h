#pragma once

#include <QString>

// What the user is told about the settings file.
namespace settingstext {

QString notLoaded();
// A settings file over 1 MB: left where it is at `path`, or kept as `asideName`.
QString oversizedLeft(const QString &path);
QString oversizedSetAside(const QString &name, const QString &asideName);

} // namespace settingstext
