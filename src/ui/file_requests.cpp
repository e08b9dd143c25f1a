#include "ui/file_requests.h"

#include <QCoreApplication>
#include <QDir>

namespace filerequest {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("FileRequest", text);
}

} // namespace

TFileRequest measurementFile(const QString &start, const QString &defaultSuffix) {
    TFileRequest request;
    request.caption = tr("Укажите место");
    request.filter = QStringLiteral("Tamrel CSV Files (*.csv)");
    request.start = start;
    request.defaultSuffix = defaultSuffix;
    request.confirmOverwrite = false;
    request.objectName = QStringLiteral("dlgSaveFile");
    return request;
}

TFileRequest readings(const QString &folder, const QDateTime &firstReading) {
    const QString name =
        firstReading.isValid()
            ? tr("Отсчёты %1.csv").arg(firstReading.toString(QStringLiteral("yyyy-MM-dd HH-mm")))
            : tr("Отсчёты.csv");
    TFileRequest request;
    request.caption = tr("Сохранить все отсчёты");
    request.filter = tr("Таблица CSV (*.csv)");
    request.start = folder.isEmpty() ? name : QDir(folder).filePath(name);
    request.defaultSuffix = QStringLiteral("csv");
    request.objectName = QStringLiteral("dlgSaveReadings");
    return request;
}

QString noReadingsToSave() {
    return tr("Нет записанных отсчётов — сохранять нечего.");
}

TFileRequest chartImage(const QString &start) {
    TFileRequest request;
    request.caption = tr("Сохранить изображение");
    request.filter = tr("Изображение PNG (*.png);;Рисунок SVG (*.svg)");
    request.start = start;
    request.defaultSuffix = QStringLiteral("png");
    request.suffixFollowsFilter = true;
    request.objectName = QStringLiteral("dlgSaveImage");
    return request;
}

QString autosaveFolderCaption() {
    return tr("Папка для файлов, сохраняемых при заполнении таблицы");
}

} // namespace filerequest
