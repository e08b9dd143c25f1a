#include "plot/readings_export.h"

#include "base/number_format.h"
#include "files/csv_table.h"
#include "files/save_file_name.h"
#include "material/dielectric.h"
#include "plot/relaxation_analysis.h"
#include "plot/unit_scale.h"
#include "settings/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <cmath>
#include <tuple>

namespace readingsexport {
namespace {

const QChar kPoint = QLatin1Char('.');
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz");

QString number(double value) {
    return std::isfinite(value) ? numfmt::general(value, kPoint) : QString();
}

// A text on one comment line: its line breaks become blanks.
QString oneLine(const QString &text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return out;
}

QString fieldName(TSampleCheck::Field field) {
    switch (field) {
    case TSampleCheck::Field::Diameter:
        return QStringLiteral("the diameter");
    case TSampleCheck::Field::SideA:
        return QStringLiteral("the first side");
    case TSampleCheck::Field::SideB:
        return QStringLiteral("the second side");
    case TSampleCheck::Field::Area:
        return QStringLiteral("the area");
    case TSampleCheck::Field::Thickness:
        return QStringLiteral("the thickness");
    case TSampleCheck::Field::EmptyCell:
        return QStringLiteral("C0");
    default:
        return QString();
    }
}

QString faultText(TSampleCheck::Fault fault) {
    switch (fault) {
    case TSampleCheck::Fault::Missing:
        return QStringLiteral("is not given");
    case TSampleCheck::Fault::NotFinite:
        return QStringLiteral("is not finite");
    case TSampleCheck::Fault::NotPositive:
        return QStringLiteral("is not above zero");
    default:
        return QStringLiteral("puts C0 out of range");
    }
}

QString problemText(TPairProblem problem) {
    switch (problem) {
    case TPairProblem::NoFrequency:
        return QStringLiteral("the frame's frequency is unknown");
    case TPairProblem::CurrentReading:
        return QStringLiteral("the meter measured a current");
    case TPairProblem::SameParameter:
        return QStringLiteral("both values are the same quantity");
    case TPairProblem::UnsupportedPair:
        return QStringLiteral("the pair does not fix the complex admittance");
    case TPairProblem::MissingValue:
        return QStringLiteral("a value could not be read");
    default:
        return QStringLiteral("the values give an infinite admittance");
    }
}

QString electrodes(const TSample &s) {
    switch (s.Shape) {
    case TSample::Geometry::Circle:
        return QStringLiteral("circle, diameter %1 mm").arg(number(s.DiameterMm));
    case TSample::Geometry::Rectangle:
        return QStringLiteral("rectangle, %1 mm x %2 mm").arg(number(s.SideAMm), number(s.SideBMm));
    case TSample::Geometry::Area:
        return QStringLiteral("area %1 mm2").arg(number(s.AreaMm2));
    default:
        return QStringLiteral("not given, C0 entered");
    }
}

void comment(QStringList &lines, const char *key, const QString &value) {
    lines << QStringLiteral("# %1: %2").arg(QLatin1String(key), value);
}

QString frequencies(const QVector<int32_t> &hz) {
    QStringList texts;
    for (int32_t f : hz)
        texts << number(f);
    return texts.join(QLatin1Char(' '));
}

// "meter, 2026-12-11T03:12:05.000 .. 2026-12-11T03:13:15.000, 70 s"; an
// outage the program did not see end has no end.
QString outageText(const TLinkOutage &outage) {
    const QString instrument = outage.Instrument == TInstrument::Meter
                                   ? QStringLiteral("meter")
                                   : QStringLiteral("thermometer");
    if (!outage.End.isValid())
        return QStringLiteral("%1, %2 .. end unknown")
            .arg(instrument, outage.Start.toString(kTimeFormat));
    return QStringLiteral("%1, %2 .. %3, %4 s")
        .arg(instrument, outage.Start.toString(kTimeFormat), outage.End.toString(kTimeFormat))
        .arg(outage.Start.secsTo(outage.End));
}

// The sample's cell, when the sample describes one.
bool cellOf(const TRunDescription &run, TSampleCell *cell, TSampleCheck *check) {
    if (!run.Sample)
        return false;
    *check = checkSample(*run.Sample, cell);
    return check->ok();
}

} // namespace

QByteArray header() {
    return QByteArrayLiteral("time,set_point_C,temperature_C,frequency_Hz,main_name,main_value,"
                             "main_unit,secondary_name,secondary_value,secondary_unit,frame,"
                             "eps_real,eps_imag,tan_delta,sigma_S_per_m,modulus_real,"
                             "modulus_imag\n");
}

QByteArray line(const TPlotReading &r, const TSampleCell *cell) {
    QStringList fields = {
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
    TMaterialValues v;
    if (cell && materialValues(r.pair(), r.FrequencyHz, *cell, &v) == TPairProblem::None)
        fields << number(v.EpsReal) << number(v.EpsImag) << number(v.TanDelta)
               << number(v.SigmaSPerM) << number(v.ModulusReal) << number(v.ModulusImag);
    else
        fields << QString() << QString() << QString() << QString() << QString() << QString();
    return fields.join(QLatin1Char(',')).toUtf8() + '\n';
}

QByteArray description(const TRunDescription &run, const QVector<TPlotReading> &readings) {
    QStringList lines;
    comment(lines, "program", ProgramName() + QStringLiteral(" " TAMREL_VERSION));
    TSampleCell cell;
    TSampleCheck check;
    const bool derived = cellOf(run, &cell, &check);
    if (run.Sample) {
        const TSample &s = *run.Sample;
        comment(lines, "sample", oneLine(s.Name));
        comment(lines, "electrodes", electrodes(s));
        if (s.Shape != TSample::Geometry::EmptyCell)
            comment(lines, "thickness_mm", number(s.ThicknessMm));
        if (derived)
            comment(lines, "C0_pF", number(cell.EmptyCellF * 1E12));
        comment(lines, "operator", oneLine(s.Operator));
        for (const QString &note : s.Notes.split(QLatin1Char('\n')))
            comment(lines, "notes", oneLine(note));
    } else {
        comment(lines, "sample", QStringLiteral("none"));
    }
    comment(lines, "table_C",
            QStringLiteral("%1 .. %2 step %3")
                .arg(number(run.TempInit), number(run.TempFinal), number(run.TempStep)));
    comment(lines, "tolerance_C", number(run.Tolerance));
    for (const TRunDescription::Start &start : run.Starts)
        comment(lines, "start",
                QStringLiteral("%1, skip_count %2, frequencies_Hz %3")
                    .arg(start.Time.isValid() ? start.Time.toString(kTimeFormat)
                                              : QStringLiteral("time unknown"))
                    .arg(start.SkipCount)
                    .arg(frequencies(start.Frequencies)));
    for (const TLinkOutage &outage : run.Outages)
        comment(lines, "outage", outageText(outage));

    // Why derived values are missing: said once for the run, or once per
    // kind of reading that gives none.
    if (!run.Sample) {
        comment(lines, "derived", QStringLiteral("none, no sample was given"));
    } else if (!derived) {
        comment(lines, "derived",
                QStringLiteral("none, %1 %2").arg(fieldName(check.field), faultText(check.fault)));
    } else {
        QMap<std::tuple<int, QString, QString>, int> missing;
        TMaterialValues v;
        for (const TPlotReading &r : readings) {
            const TPairProblem problem = materialValues(r.pair(), r.FrequencyHz, cell, &v);
            if (problem != TPairProblem::None)
                ++missing[{int(problem), r.MainName, r.SecName}];
        }
        for (auto it = missing.cbegin(); it != missing.cend(); ++it)
            comment(lines, "derived",
                    QStringLiteral("empty in %1 readings of %2 with %3: %4")
                        .arg(it.value())
                        .arg(std::get<1>(it.key()), std::get<2>(it.key()),
                             problemText(TPairProblem(std::get<0>(it.key())))));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray text(const QVector<TPlotReading> &readings, const TRunDescription &run) {
    QByteArray out = description(run, readings) + header();
    TSampleCell cell;
    TSampleCheck check;
    const TSampleCell *derived = cellOf(run, &cell, &check) ? &cell : nullptr;
    for (const TPlotReading &reading : readings)
        out += line(reading, derived);
    return out;
}

QByteArray text(const TJournalRun &run) {
    TRunReadings readings(run.Table.DecimalSeparator);
    readings.loadRun(run);
    return text(readings.readings(), describeRun(run));
}

TFileResult write(const QString &fileName, const QVector<TPlotReading> &readings,
                  const TRunDescription &run) {
    if (const TFileResult checked = checkSaveFileName(fileName); !checked.ok)
        return checked;
    return SaveBytesToFile(fileName, text(readings, run));
}

QString peaksFileName(const QString &exportName) {
    const QFileInfo file(exportName);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("_peaks.csv"));
}

TFileResult writePeaks(const QString &exportName, const TRunReadings &readings,
                       const TRunDescription &run) {
    TSampleCell cell;
    TSampleCheck check;
    const std::optional<TSampleCell> derived =
        cellOf(run, &cell, &check) ? std::optional<TSampleCell>(cell) : std::nullopt;
    return SaveBytesToFile(peaksFileName(exportName), peaksCsv(readings, derived));
}

} // namespace readingsexport
