#include "plot_support.h"

#include "plot/readings_export.h"
#include "plot/run_readings.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QChar kComma = QLatin1Char(',');

// Two readings of one cell (the second recorded over the first), a Phi
// reading in degrees and a reading whose values could not be read.
TRunReadings fixture() {
    TRunReadings readings(kComma);
    readings.add(cpReading(1, 2, 100, 20.06, "1,2345E-8", "0,00123"));
    TJournalReading again = cpReading(1, 2, 100, 20.125, "-1,2E-12", "0,0015");
    again.Time = again.Time.addMSecs(1250);
    readings.add(again);
    TJournalReading z = cpReading(2, 3, 1000000, 21.0, "123450", "45,5");
    z.MainName = "Z";
    z.MainUnit = "kOm";
    z.SecName = "Phi";
    z.SecUnit = " °";
    readings.add(z);
    TJournalReading lost = cpReading(3, 2, 100, NAN, "", "");
    lost.Frame.clear();
    readings.add(lost);
    return readings;
}

// The lines of an export after its "#" description.
QStringList dataLines(const QByteArray &bytes) {
    QStringList lines = QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts);
    while (!lines.isEmpty() && lines.first().startsWith('#'))
        lines.removeFirst();
    return lines;
}

double parse(const QString &field) {
    bool ok = false;
    const double value = QLocale::c().toDouble(field, &ok);
    EXPECT_TRUE(ok) << field.toStdString();
    return value;
}

TEST(ReadingsExport, OneLinePerReadingThatParsesBackToTheReadings) {
    const TRunReadings readings = fixture();
    const QByteArray bytes = readingsexport::text(readings.readings(), TRunDescription());
    ASSERT_TRUE(bytes.endsWith('\n'));
    const QStringList lines = dataLines(bytes);
    ASSERT_EQ(lines.size(), 1 + readings.readings().size());
    const QStringList header = lines[0].split(',');
    EXPECT_EQ(header,
              QStringList({"time", "set_point_C", "temperature_C", "frequency_Hz", "main_name",
                           "main_value", "main_unit", "secondary_name", "secondary_value",
                           "secondary_unit", "frame", "eps_real", "eps_imag", "tan_delta",
                           "sigma_S_per_m", "modulus_real", "modulus_imag"}));

    for (int i = 0; i < readings.readings().size(); ++i) {
        SCOPED_TRACE(lines[i + 1].toStdString());
        const TPlotReading &r = readings.readings()[i];
        const QStringList f = lines[i + 1].split(',');
        ASSERT_EQ(f.size(), header.size());
        EXPECT_EQ(QDateTime::fromString(f[0], Qt::ISODateWithMs), r.Time);
        EXPECT_EQ(parse(f[1]), r.SetPoint);
        EXPECT_EQ(parse(f[3]), r.FrequencyHz);
        EXPECT_EQ(f[4], r.MainName);
        EXPECT_EQ(f[7], r.SecName);
        EXPECT_EQ(QByteArray::fromHex(f[10].toLatin1()), r.frame());
        if (std::isfinite(r.MainValue)) {
            EXPECT_EQ(parse(f[2]), r.Temperature);
            EXPECT_EQ(parse(f[5]), r.MainValue);
            EXPECT_EQ(parse(f[8]), r.SecValue);
        }
    }
    EXPECT_EQ(lines[1], "2024-03-05T09:15:30.250,20,20.06,100,Cp,1.2345E-8,F,D,0.00123,,"
                        "AA" +
                            QString(38, QLatin1Char('0')) + "01,,,,,,")
        << "no sample: the derived values are empty";
    EXPECT_EQ(lines[2].section(',', 0, 2), "2024-03-05T09:15:31.500,20,20.125");
    EXPECT_EQ(lines[2].section(',', 5, 5), "-1.2E-12");
    EXPECT_EQ(lines[3].section(',', 3, 9), "1000000,Z,123450,Ohm,Phi,45.5,deg");
    EXPECT_EQ(lines[4].section(',', 2, 2), "") << "unknown temperature";
    EXPECT_EQ(lines[4].section(',', 5, 5), "") << "unreadable value";
    EXPECT_EQ(lines[4].section(',', 10, 10), "") << "no frame kept";
}

TEST(ReadingsExport, ARunFromTheJournalIsReadWithItsOwnSeparator) {
    TJournalRun run;
    run.Table.DecimalSeparator = QLatin1Char('.');
    TJournalSegment first, second;
    first.Readings = {cpReading(1, 2, 100, 20.06, "1.2345E-8", "0.00123")};
    second.Readings = {cpReading(2, 2, 100, 21, "1.5E-8", "0.002")};
    run.Segments = {first, second};
    const QStringList lines = dataLines(readingsexport::text(run));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].split(',')[5], "1.2345E-8");
    EXPECT_EQ(lines[2].split(',')[8], "0.002");
}

TEST(ReadingsExport, TheDescriptionListsEachOutageOfTheRunAfterItsStarts) {
    TJournalRun run;
    TJournalSegment segment;
    segment.Start.Time = QDateTime(QDate(2026, 12, 11), QTime(3, 0));
    segment.Readings = {cpReading(1, 2, 100, 20.06, "1,2345E-8", "0,00123")};
    run.Segments = {segment};
    const QDateTime start(QDate(2026, 12, 11), QTime(3, 12, 5, 250));
    run.Outages = {{TInstrument::Meter, start, start.addSecs(70)},
                   {TInstrument::Thermometer, start.addSecs(100), QDateTime()}};
    const QStringList comments =
        QString::fromUtf8(readingsexport::text(run)).split('\n').filter("# ");
    const QStringList expected = {
        "# outage: meter, 2026-12-11T03:12:05.250 .. 2026-12-11T03:13:15.250, 70 s",
        "# outage: thermometer, 2026-12-11T03:13:45.250 .. end unknown"};
    const int starts = comments.indexOf(QRegularExpression("^# start: .*"));
    ASSERT_GE(starts, 0);
    EXPECT_EQ(comments.mid(starts + 1, 2), expected);
}

TEST(ReadingsExport, WritesTheTextOrSaysWhyNot) {
    const TRunReadings readings = fixture();
    QTemporaryDir dir;
    const QString path = dir.filePath("readings.csv");
    TRunDescription run;
    run.Sample = TSample();
    run.Sample->EmptyCellPf = 2;
    run.Sample->Shape = TSample::Geometry::EmptyCell;
    EXPECT_TRUE(readingsexport::write(path, readings.readings(), run).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), readingsexport::text(readings.readings(), run));

    const QString missing = dir.filePath("missing/readings.csv");
    const TFileResult refused = readingsexport::write(missing, {}, run);
    EXPECT_EQ(refused.fault, TFileResult::Fault::System);
    EXPECT_EQ(refused.fileName, missing);
    EXPECT_FALSE(refused.systemReason.isEmpty());
    EXPECT_EQ(readingsexport::write(dir.path() + "/", {}, run).fault,
              TFileResult::Fault::FolderName);
}

} // namespace
