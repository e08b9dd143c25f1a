#pragma once

#include "engine/user_prompts.h"

#include <QDateTime>
#include <QString>

// The files and folders the program asks its user to name: captions, filters
// and the names offered first.
namespace filerequest {

// "Сохранить в..": the measurement file, replaced without asking.
TFileRequest measurementFile(const QString &start, const QString &defaultSuffix);
// Every reading of a run, named after its first reading ("Отсчёты 2024-03-05
// 09-15.csv") in `folder`, so that the files of several runs do not overwrite
// one another by default; "Отсчёты.csv" for a run without a time.
TFileRequest readings(const QString &folder, const QDateTime &firstReading);
// Why there is nothing to save.
QString noReadingsToSave();
// Both charts as PNG or SVG.
TFileRequest chartImage(const QString &start);
// Where the files saved when the table is full go.
QString autosaveFolderCaption();

} // namespace filerequest
