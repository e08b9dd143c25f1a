#pragma once

#include "files/csv_table.h"
#include "plot/run_description.h"
#include "plot/run_readings.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Every recorded reading as one line of comma-separated UTF-8 text with a
// header line, "." as decimal point and values as plain numbers in the base
// unit, so data tools and spreadsheets read it without settings. Times are
// local, ISO 8601 with milliseconds; an unknown number is an empty field.
// Lines starting with "#" before the header describe the run: the program,
// the sample, the table and each start, the instruments' outages, and why
// derived values are missing.
// With a sample, each line also carries the permittivity, loss, tan delta,
// conductivity and electric modulus of its reading.
namespace readingsexport {

QByteArray header();
// `cell`: the sample's, or nullptr for a run without one (empty derived fields).
QByteArray line(const TPlotReading &reading, const TSampleCell *cell);
QByteArray description(const TRunDescription &run, const QVector<TPlotReading> &readings);
QByteArray text(const QVector<TPlotReading> &readings, const TRunDescription &run);
// Every reading of a run from the journal, start after start.
QByteArray text(const TJournalRun &run);

// Writes the text to `fileName`, replacing the file only once all of it is
// written. A name that cannot be used is refused before anything is written.
TFileResult write(const QString &fileName, const QVector<TPlotReading> &readings,
                  const TRunDescription &run);

// The file beside an export that holds the peaks of its run: "<name>_peaks.csv".
// A table of its own rather than lines in the export, so that each file stays
// one rectangle a data tool reads without settings.
QString peaksFileName(const QString &exportName);
// Writes the peaks of the run beside the export `exportName`.
TFileResult writePeaks(const QString &exportName, const TRunReadings &readings,
                       const TRunDescription &run);

} // namespace readingsexport
