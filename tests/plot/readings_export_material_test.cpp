#include "plot_support.h"

#include "material/dielectric.h"
#include "meter/meter_tables.h"
#include "plot/readings_export.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace metertables;

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps0 = 8.8541878128E-12;

TJournalReading withPair(TJournalReading r, uint8_t mainCode, const char *mainName,
                         const QString &mainBase, uint8_t secCode, const char *secName,
                         const QString &secBase) {
    r.Frame[kMainCodeByte] = char(mainCode);
    r.Frame[kSecondaryCodeByte] = char(secCode);
    r.MainName = mainName;
    r.MainBase = mainBase;
    r.SecName = secName;
    r.SecBase = secBase;
    return r;
}

TSample disc() {
    TSample s;
    s.Name = QStringLiteral("ПВДФ, плёнка 3");
    s.DiameterMm = 10;
    s.ThicknessMm = 1;
    s.Operator = QStringLiteral("Иванова");
    s.Notes = QStringLiteral("отожжён;\nэлектроды Ag");
    return s;
}

// Two starts over a table 20..22 °C: Cp with D at 100 Hz and 1 MHz, Z with
// Phi, a current and a pair that mixes the two models.
TJournalRun sampleRun(std::optional<TSample> sample) {
    TJournalRun run;
    run.Summary.Sample = sample;
    run.Table.DecimalSeparator = QLatin1Char(',');
    run.Table.TempStorage.TempInit = 20;
    run.Table.TempStorage.TempFinal = 22;
    run.Table.TempStorage.TempStep = 1;
    run.Table.TempStorage.TempDiff = 0.3;
    TJournalSegment first, second;
    first.Start.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 0));
    first.Start.Frequencies = {100, 1000000};
    first.Start.SkipPacketCount = 6;
    first.Readings = {
        withPair(cpReading(1, 2, 100, 20.1, ""), kCpCode, "Cp", "2,5E-12", kDissipationCode, "D",
                 "0,0123"),
        withPair(cpReading(1, 3, 1000000, 20.2, ""), kCpCode, "Cp", "2,25E-12", kDissipationCode,
                 "D", "0,25"),
        withPair(cpReading(2, 2, 100, 21.0, ""), kImpedanceCode, "Z", "1,2E9", kPhaseCode, "Phi",
                 "-88,5"),
    };
    second.Start.Time = QDateTime(QDate(2024, 3, 5), QTime(10, 30));
    second.Start.Frequencies = {100};
    second.Start.SkipPacketCount = 8;
    second.Readings = {
        withPair(cpReading(3, 2, 100, 22.0, ""), kCurrentCode, "I", "1E-6", kPhaseCode, "Phi",
                 "-89"),
        withPair(cpReading(3, 3, 100, 22.0, ""), kRsCode, "Rs", "1000", kCpCode, "Cp", "1E-12"),
        withPair(cpReading(3, 4, 100, 22.0, ""), kRsCode, "Rs", "2000", kCpCode, "Cp", "1E-12"),
    };
    run.Segments = {first, second};
    return run;
}

struct ExportLines {
    QStringList comments;
    QStringList header;
    QVector<QStringList> rows;
};

// Read as a data tool told that "#" starts a comment reads it.
ExportLines read(const QByteArray &bytes) {
    ExportLines out;
    for (const QString &line : QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('#')) {
            EXPECT_TRUE(out.header.isEmpty())
                << "a comment after the header: " << line.toStdString();
            out.comments << line;
        } else {
            EXPECT_FALSE(line.contains('#')) << line.toStdString();
            if (out.header.isEmpty())
                out.header = line.split(',');
            else
                out.rows << line.split(',');
        }
    }
    return out;
}

double field(const ExportLines &e, int row, const char *name) {
    const QString text = e.rows[row].value(e.header.indexOf(QLatin1String(name)));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok ? value : NAN;
}

TEST(ReadingsExportMaterial, WithASampleEachReadingCarriesWhatItSaysAboutTheMaterial) {
    const ExportLines e = read(readingsexport::text(sampleRun(disc())));
    const double c0 = kEps0 * kPi * 25E-6 / 1E-3;
    const QStringList expectedComments = {
        "# program: Utility for Tamrel " TAMREL_TEST_VERSION,
        "# sample: ПВДФ, плёнка 3",
        "# electrodes: circle, diameter 10 mm",
        "# thickness_mm: 1",
        "# C0_pF: " + QString::number(c0 * 1E12, 'g', 15),
        "# operator: Иванова",
        "# notes: отожжён;",
        "# notes: электроды Ag",
        "# table_C: 20 .. 22 step 1",
        "# tolerance_C: 0.3",
        "# start: 2024-03-05T09:00:00.000, skip_count 6, frequencies_Hz 100 1000000",
        "# start: 2024-03-05T10:30:00.000, skip_count 8, frequencies_Hz 100",
        "# derived: empty in 1 readings of I with Phi: the meter measured a current",
        "# derived: empty in 2 readings of Rs with Cp: the pair does not fix the complex "
        "admittance",
    };
    EXPECT_EQ(e.comments, expectedComments);
    ASSERT_EQ(e.rows.size(), 6);

    // Cp with D: eps' = Cp / C0, eps'' = D eps', sigma' = w eps0 eps''.
    const struct {
        int row;
        double hz, cp, d;
    } cpRows[] = {{0, 100, 2.5E-12, 0.0123}, {1, 1E6, 2.25E-12, 0.25}};
    for (const auto &c : cpRows) {
        const double epsReal = c.cp / c0, epsImag = c.d * c.cp / c0;
        EXPECT_NEAR(field(e, c.row, "eps_real") / epsReal, 1, 1E-14) << c.row;
        EXPECT_NEAR(field(e, c.row, "eps_imag") / epsImag, 1, 1E-14) << c.row;
        EXPECT_NEAR(field(e, c.row, "tan_delta") / c.d, 1, 1E-14) << c.row;
        EXPECT_NEAR(field(e, c.row, "sigma_S_per_m") / (2 * kPi * c.hz * kEps0 * epsImag), 1, 1E-14)
            << c.row;
        const double squared = epsReal * epsReal + epsImag * epsImag;
        EXPECT_NEAR(field(e, c.row, "modulus_real") / (epsReal / squared), 1, 1E-14) << c.row;
        EXPECT_NEAR(field(e, c.row, "modulus_imag") / (epsImag / squared), 1, 1E-14) << c.row;
    }
    // Z with Phi, as the conversion gives it
    TMaterialValues z;
    ASSERT_EQ(materialValues({kImpedanceCode, 1.2E9, kPhaseCode, -88.5}, 100,
                             {c0, 1E-3 / (kPi * 25E-6)}, &z),
              TPairProblem::None);
    EXPECT_NEAR(field(e, 2, "eps_real") / z.EpsReal, 1, 1E-14);
    EXPECT_NEAR(field(e, 2, "modulus_imag") / z.ModulusImag, 1, 1E-14);
    // the current and the mixed pair: six empty fields each
    for (int row = 3; row < 6; ++row)
        for (const char *name :
             {"eps_real", "eps_imag", "tan_delta", "sigma_S_per_m", "modulus_real", "modulus_imag"})
            EXPECT_TRUE(std::isnan(field(e, row, name))) << row << name;
}

TEST(ReadingsExportMaterial, WithoutAUsableSampleTheDerivedColumnsAreEmptyAndSaidOnce) {
    TSample noThickness = disc();
    noThickness.ThicknessMm = NAN;
    TSample emptyCell;
    emptyCell.Shape = TSample::Geometry::EmptyCell;
    emptyCell.EmptyCellPf = -3;
    const struct {
        std::optional<TSample> sample;
        const char *derived;
    } cases[] = {
        {std::nullopt, "# derived: none, no sample was given"},
        {noThickness, "# derived: none, the thickness is not given"},
        {emptyCell, "# derived: none, C0 is not above zero"},
    };
    for (const auto &c : cases) {
        const ExportLines e = read(readingsexport::text(sampleRun(c.sample)));
        EXPECT_EQ(e.comments.filter("# derived:"), QStringList{c.derived});
        EXPECT_EQ(e.comments.filter("# C0_pF").size(), 0) << c.derived;
        ASSERT_EQ(e.rows.size(), 6);
        for (const QStringList &row : e.rows) {
            ASSERT_EQ(row.size(), e.header.size());
            EXPECT_EQ(row.mid(11), QStringList(6, QString())) << c.derived;
        }
    }
    const ExportLines none = read(readingsexport::text(sampleRun(std::nullopt)));
    EXPECT_TRUE(none.comments.contains("# sample: none"));
}

TEST(ReadingsExportMaterial, AReadingKeptWithoutItsFrameTakesThePairFromItsNames) {
    TJournalRun run = sampleRun(disc());
    run.Segments.resize(1);
    TJournalReading &cp = run.Segments[0].Readings[0];
    cp.Frame.clear();
    TJournalReading &z = run.Segments[0].Readings[2];
    z.Frame.clear();
    const ExportLines e = read(readingsexport::text(run));
    const double c0 = kEps0 * kPi * 25E-6 / 1E-3;
    EXPECT_NEAR(field(e, 0, "eps_real") / (2.5E-12 / c0), 1, 1E-14);
    EXPECT_FALSE(std::isnan(field(e, 2, "eps_imag"))) << "Phi is a secondary name";
    EXPECT_TRUE(e.comments.filter("# derived:").isEmpty());
}

} // namespace
