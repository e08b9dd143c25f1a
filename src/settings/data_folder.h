#pragma once

#include <QString>

// Where the program keeps the files it changes: options.ini, the run journal and the "ports"
// folder with its "COMn" links. A copy in a folder its user may write keeps them beside
// itself, as a portable copy always has; an installed one, in a folder the user cannot write
// (/usr/bin), keeps them in the user's configuration folder.

// The organisation and program names the user's configuration folder is found under.
QString ProgramOrganisationName();
QString ProgramName();

// Whether a file can be created in the folder. Tried, not read off the permission bits, so
// that access lists and read-only mounts count as they are. Leaves nothing behind.
bool IsFolderWritable(const QString &folder);

// programFolder when it is writable, otherwise userFolder.
QString ChooseDataFolder(const QString &programFolder, const QString &userFolder);

// This user's configuration folder of the program (QStandardPaths::AppConfigLocation under the
// program's organisation and name; on Linux ~/.config/Tamrel/Utility for Tamrel), the same
// whichever program asks: tamrel-sim puts its links where the program looks for them.
QString ProgramUserConfigFolder();

// The journal a copy of the program kept beside itself while its folder could be written:
// programFolder's runs.sqlite when there is one and the journal now in use is another (the
// folder has become read-only, so the program keeps its files elsewhere). Empty otherwise.
QString FormerJournalPath(const QString &programFolder, const QString &journalPath);
