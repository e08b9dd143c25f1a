#pragma once

#include "plot/run_readings.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Every recorded reading as one line of comma-separated UTF-8 text with a
// header line, "." as decimal point and values as plain numbers in the base
// unit, so data tools and spreadsheets read it without settings. Times are
// local, ISO 8601 with milliseconds; an unknown number is an empty field.
namespace readingsexport {

QByteArray header();
QByteArray line(const TPlotReading &reading);
QByteArray text(const QVector<TPlotReading> &readings);
// Every reading of a run from the journal, start after start.
QByteArray text(const TJournalRun &run);

// Writes the text to `fileName`, replacing the file only once all of it is
// written. Returns an empty string, or what went wrong as a Russian sentence.
QString write(const QString &fileName, const QVector<TPlotReading> &readings);

} // namespace readingsexport
