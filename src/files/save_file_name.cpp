#include "files/save_file_name.h"

TFileResult checkSaveFileName(const QString &fileName) {
    if (fileName.contains(QChar(0)))
        return {false, TFileResult::Fault::NulInName, fileName, QString()};
    if (fileName.endsWith(QLatin1Char('/')) || fileName.endsWith(QLatin1Char('\\')))
        return {false, TFileResult::Fault::FolderName, fileName, QString()};
    return {};
}
