#include "settings/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString ProgramOrganisationName() {
    return QStringLiteral("Tamrel");
}

QString ProgramName() {
    return QStringLiteral("Utility for Tamrel");
}

bool IsFolderWritable(const QString &folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    return probe.open();
}

QString ChooseDataFolder(const QString &programFolder, const QString &userFolder) {
    return IsFolderWritable(programFolder) ? programFolder : userFolder;
}

// AppConfigLocation is the generic configuration folder followed by the organisation and the
// application name; spelled out here so that it does not depend on the names of the
// application that asks.
QString ProgramUserConfigFolder() {
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return config.filePath(ProgramOrganisationName() + QLatin1Char('/') + ProgramName());
}

QString FormerJournalPath(const QString &programFolder, const QString &journalPath) {
    const QFileInfo former(QDir(programFolder).filePath(QStringLiteral("runs.sqlite")));
    if (!former.isFile() ||
        former.canonicalFilePath() == QFileInfo(journalPath).canonicalFilePath())
        return QString();
    return former.filePath();
}
