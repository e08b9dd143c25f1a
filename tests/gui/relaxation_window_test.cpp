// The analysis window over the chart's run: a past run of a relaxing sample,
// and a reading recorded while it is shown.
#include "run_window_support.h"

#include "base/number_format.h"
#include "control/chart_controller.h"
#include "control/journal_controller.h"
#include "control/relaxation_controller.h"
#include "meter/meter_tables.h"
#include "ui/chart_window.h"
#include "ui/relaxation_window.h"

#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QXYSeries>

#include <complex>

namespace {

using namespace metertables;

const QChar kComma = QLatin1Char(',');
constexpr double kBoltzmann = 8.617333262E-5;
constexpr double kEmptyCellF = 10e-12;
const QVector<int> kHz = {100, 1000, 10000, 100000, 1000000};

// Cp and D of a Debye relaxation, eps_inf 4 and delta eps 6, with
// tau = 1E-13 s exp(0.5 eV / kT).
TJournalReading debyeReading(int row, int col, int hz, double celsius) {
    const double tau = 1e-13 * std::exp(0.5 / (kBoltzmann * (celsius + 273.15)));
    const std::complex<double> eps = 4.0 + 6.0 / std::complex<double>(1.0, 2 * M_PI * hz * tau);
    TJournalReading r;
    r.Row = row;
    r.Col = col;
    r.TempIndex = row - 1;
    r.FreqIndex = col - 2;
    r.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 0)).addSecs(row * 60);
    r.SetPoint = celsius;
    r.Temperature = celsius;
    r.FrequencyHz = hz;
    r.Frame = QByteArray(21, '\0');
    r.Frame[0] = char(0xAA);
    r.Frame[kMainCodeByte] = char(kCpCode);
    r.Frame[kSecondaryCodeByte] = char(kDissipationCode);
    r.MainName = "Cp";
    r.MainUnit = "pF";
    r.MainBase = numfmt::general(eps.real() * kEmptyCellF, kComma);
    r.SecName = "D";
    r.SecUnit = "  ";
    r.SecBase = numfmt::general(-eps.imag() / eps.real(), kComma);
    return r;
}

TJournalRun debyeRun() {
    TJournalRun run;
    run.Table.DecimalSeparator = kComma;
    TSample sample;
    sample.Name = "Debye";
    sample.Shape = TSample::Geometry::EmptyCell;
    sample.EmptyCellPf = kEmptyCellF * 1e12;
    run.Summary.Sample = sample;
    TJournalSegment segment;
    segment.Start.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 0));
    int row = 1;
    for (double c = -60; c <= 196; c += 4, ++row)
        for (int col = 0; col < kHz.size(); ++col)
            segment.Readings.append(debyeReading(row, col + 2, kHz[col], c));
    run.Segments = {segment};
    return run;
}

class RelaxationWindowTest : public RunWindowTest {
protected:
    TChartController &chart() { return *window->chartController(); }
    TRelaxationController &relaxation() { return *window->relaxationController(); }
    RelaxationWindow *view() { return relaxation().view(); }

    void openAnalysis() {
        window->actions().actShowChart->trigger();
        chart().chartWindow()->btnAnalysis()->click();
        ASSERT_NE(view(), nullptr);
        ASSERT_TRUE(view()->isVisible());
    }
    void chooseQuantity(const QString &name) {
        QComboBox *box = view()->cmbQuantity();
        const int index = box->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

TEST_F(RelaxationWindowTest, APastRunShowsItsPeaksFitsAndColeCole) {
    chart().loadRun(debyeRun());
    openAnalysis();

    // The sample makes eps'' a choice; D is the run's own secondary parameter.
    QStringList offered;
    for (int i = 0; i < view()->cmbQuantity()->count(); ++i)
        offered << view()->cmbQuantity()->itemText(i);
    EXPECT_EQ(offered, QStringList({"D", "Cp", "tg δ", "ε″", "ε′", "M″"}));
    chooseQuantity("ε″");

    QTableWidget *table = view()->tblPeaks();
    ASSERT_EQ(table->rowCount(), kHz.size());
    EXPECT_EQ(table->item(0, 0)->text(), "100");
    EXPECT_EQ(table->item(0, 4)->text(), "") << "inside the range";
    // E = 0,5 eV and tau0 = 1E-13 s, each to the digits shown.
    const QString arrhenius = view()->lblArrhenius()->text();
    EXPECT_TRUE(arrhenius.startsWith("Аррениус: E = 0,5 ± ")) << arrhenius.toStdString();
    EXPECT_TRUE(arrhenius.contains(" эВ, τ₀ = 1E-13 с, R² = ")) << arrhenius.toStdString();
    EXPECT_TRUE(view()->lblVogelFulcher()->text().startsWith("Фогель–Фулчер"));
    // Peaks and the fitted line.
    ASSERT_GE(view()->arrheniusChart()->series().size(), 2);
    EXPECT_EQ(static_cast<QXYSeries *>(view()->arrheniusChart()->series()[0])->count(), kHz.size());
    // One Cole-Cole point per frequency at the chosen set point.
    ASSERT_EQ(view()->coleColeChart()->series().size(), 1);
    EXPECT_EQ(static_cast<QXYSeries *>(view()->coleColeChart()->series()[0])->count(), kHz.size());
    EXPECT_EQ(view()->coleColeChart()->axes(Qt::Horizontal).first()->titleText(), "ε′");

    view()->btnCopyPeaks()->click();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    EXPECT_EQ(lines[0], "f, Hz\tTm, °C\tTm, K\tЗначение\tПримечание");
    EXPECT_TRUE(lines[1].startsWith("100\t")) << lines[1].toStdString();
}

TEST_F(RelaxationWindowTest, FollowsTheRunAndSaysWhyItCannotFit) {
    openAnalysis();
    EXPECT_EQ(view()->tblPeaks()->rowCount(), 0);
    EXPECT_EQ(view()->lblArrhenius()->text(),
              "Аррениус: нужно не меньше двух пиков внутри диапазона (есть 0).");

    // Three rows at 1 kHz with the loss highest in the middle: one peak.
    for (int row = 1; row <= 3; ++row)
        emit capture().readingRecorded(debyeReading(row, 3, 1000, -40 + 20 * row));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->tblPeaks()->rowCount() == 1; }));
    EXPECT_EQ(view()->tblPeaks()->item(0, 0)->text(), "1000");
    EXPECT_EQ(view()->lblArrhenius()->text(),
              "Аррениус: нужно не меньше двух пиков внутри диапазона (есть 1).");
    EXPECT_EQ(view()->lblVogelFulcher()->text(),
              "Фогель–Фулчер: нужно не меньше четырёх пиков внутри диапазона (есть 1).");

    // A sample given after the readings: the analysis offers eps'' and its peak.
    TSample sample;
    sample.Shape = TSample::Geometry::EmptyCell;
    sample.EmptyCellPf = kEmptyCellF * 1e12;
    window->journal()->setSample(sample);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->cmbQuantity()->count() == 6; }));
    chooseQuantity("ε″");
    ASSERT_EQ(view()->tblPeaks()->rowCount(), 1);
    EXPECT_EQ(view()->tblPeaks()->item(0, 0)->text(), "1000");
    window->journal()->setSample(std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->cmbQuantity()->count() == 3; }));
}

} // namespace
