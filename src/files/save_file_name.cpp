#include "files/save_file_name.h"

#include <QDir>

QString saveFileNameProblem(const QString &fileName) {
    const QChar nul(0);
    if (fileName.contains(nul)) {
        const QString shown =
            QDir::toNativeSeparators(fileName).replace(nul, QStringLiteral("\\0"));
        return QStringLiteral("Не удалось сохранить файл «%1»: имя содержит недопустимый символ "
                              "NUL (\\0).")
            .arg(shown);
    }
    if (fileName.endsWith(QLatin1Char('/')) || fileName.endsWith(QLatin1Char('\\')))
        return QStringLiteral("Не удалось сохранить файл «%1»: это папка, а не имя файла.")
            .arg(QDir::toNativeSeparators(fileName));
    return QString();
}
