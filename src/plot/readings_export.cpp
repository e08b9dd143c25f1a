#include "plot/readings_export.h"

#include "base/number_format.h"
#include "files/csv_table.h"
#include "files/save_file_name.h"
#include "plot/unit_scale.h"

#include <QStringList>

#include <cmath>

namespace readingsexport {
namespace {

const QChar kPoint = QLatin1Char('.');
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz");

QString number(double value) {
    return std::isfinite(value) ? numfmt::general(value, kPoint) : QString();
}

} // namespace

QByteArray header() {
    return QByteArrayLiteral("time,set_point_C,temperature_C,frequency_Hz,main_name,main_value,"
                             "main_unit,secondary_name,secondary_value,secondary_unit,frame\n");
}

QByteArray line(const TPlotReading &r) {
    const QStringList fields = {
        r.Time.toString(kTimeFormat),
        number(r.SetPoint),
        number(r.Temperature),
        number(r.FrequencyHz),
        r.MainName,
        number(r.MainValue),
        plotunits::asciiUnit(r.MainUnit),
        r.SecName,
        number(r.SecValue),
        plotunits::asciiUnit(r.SecUnit),
        QString::fromLatin1(r.frame().toHex().toUpper()),
    };
    return fields.join(QLatin1Char(',')).toUtf8() + '\n';
}

QByteArray text(const QVector<TPlotReading> &readings) {
    QByteArray out = header();
    for (const TPlotReading &reading : readings)
        out += line(reading);
    return out;
}

QByteArray text(const TJournalRun &run) {
    TRunReadings readings(run.Table.DecimalSeparator);
    readings.loadRun(run);
    return text(readings.readings());
}

QString write(const QString &fileName, const QVector<TPlotReading> &readings) {
    if (const QString problem = saveFileNameProblem(fileName); !problem.isEmpty())
        return problem;
    const TFileResult result = SaveBytesToFile(fileName, text(readings));
    return result.ok ? QString() : result.error;
}

} // namespace readingsexport
