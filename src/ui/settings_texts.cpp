#include "ui/settings_texts.h"

#include <QCoreApplication>
#include <QDir>

namespace settingstext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Settings", text);
}

} // namespace

QString notLoaded() {
    return tr("не удалось загрузить настройки");
}

QString oversizedLeft(const QString &path) {
    return tr("Файл настроек «%1» больше 1 МБ, и его не удалось переименовать. Программа его не "
              "читает и не изменяет; настройки не будут сохраняться, пока он на месте.")
        .arg(QDir::toNativeSeparators(path));
}

QString oversizedSetAside(const QString &name, const QString &asideName) {
    return tr("Файл настроек «%1» больше 1 МБ и не похож на настройки программы. Он сохранён под "
              "именем «%2», программа начинает с настроек по умолчанию.")
        .arg(name, asideName);
}

} // namespace settingstext
