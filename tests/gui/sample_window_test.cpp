// The sample: its dialog, the status bar, the journal and the export of the
// run on the screen.
#include "run_window_support.h"

#include "control/chart_controller.h"
#include "control/journal_controller.h"
#include "control/past_runs_command.h"
#include "control/readings_export_command.h"
#include "control/sample_command.h"
#include "freq_keys.h"
#include "ui/chart_window.h"
#include "ui/past_runs_dialog.h"
#include "ui/reading_chart_view.h"
#include "ui/sample_dialog.h"

#include <QAbstractAxis>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

namespace {

enum Shape { Circle, Rectangle, Area, EmptyCell };

struct Typed {
    Shape shape;
    const char *diameter, *sideA, *sideB, *area, *thickness, *emptyCell;
};

void type(SampleDialog &dialog, const Typed &t) {
    dialog.shape()->setCurrentIndex(t.shape);
    dialog.field("leDiameter")->setText(QString::fromUtf8(t.diameter));
    dialog.field("leSideA")->setText(QString::fromUtf8(t.sideA));
    dialog.field("leSideB")->setText(QString::fromUtf8(t.sideB));
    dialog.field("leArea")->setText(QString::fromUtf8(t.area));
    dialog.field("leThickness")->setText(QString::fromUtf8(t.thickness));
    dialog.field("leEmptyCell")->setText(QString::fromUtf8(t.emptyCell));
}

TEST(SampleDialog, SaysWhyAValueIsRefusedAndStaysOpen) {
    const struct Case {
        Typed typed;
        const char *problem;
    } cases[] = {
        {{Circle, "", "", "", "", "0,1", ""}, "Диаметр электрода: значение не задано."},
        {{Circle, "10", "", "", "", "0", ""}, "Толщина образца: значение должно быть больше нуля."},
        {{Circle, "десять", "", "", "", "1", ""}, "Диаметр электрода: «десять» — не число."},
        {{Rectangle, "", "5", "-2", "", "1", ""},
         "Вторая сторона электрода: значение должно быть больше нуля."},
        {{Area, "", "", "", "1e999", "1", ""}, "Площадь электрода: «1e999» — не число."},
        {{Area, "", "", "", "1e300", "1e-300", ""},
         "С такими размерами ёмкость пустой ячейки C0 не представима числом."},
        {{EmptyCell, "", "", "", "", "", "-4,7"},
         "Ёмкость пустой ячейки C0: значение должно быть больше нуля."},
        // values the shape does not use do not matter, and either separator reads
        {{EmptyCell, "x", "", "", "", "", "4.7"}, ""},
        {{Circle, "12,5", "y", "", "", "0.105", ""}, ""},
    };
    for (const Case &c : cases) {
        SampleDialog dialog(QLatin1Char(','));
        QStringList notices;
        dialog.setNotice([&](const QString &text) { notices << text; });
        type(dialog, c.typed);
        EXPECT_EQ(dialog.problem(), QString::fromUtf8(c.problem));
        dialog.accept();
        if (*c.problem) {
            EXPECT_EQ(notices, QStringList{QString::fromUtf8(c.problem) + " Образец не изменён."});
            EXPECT_NE(dialog.result(), QDialog::Accepted) << c.problem;
        } else {
            EXPECT_TRUE(notices.isEmpty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            ASSERT_TRUE(dialog.chosen().has_value());
            EXPECT_TRUE(checkSample(*dialog.chosen()).ok());
        }
    }
}

TEST(SampleDialog, ShowsASampleAsItWasTypedAndItsEmptyCell) {
    TSample s;
    s.Name = "ПВДФ-3";
    s.Shape = TSample::Geometry::Rectangle;
    s.SideAMm = 10;
    s.SideBMm = 20.5;
    s.ThicknessMm = 0.25;
    s.Operator = "Иванова";
    s.Notes = "отожжён\nэлектроды Ag";
    SampleDialog dialog(QLatin1Char(','));
    dialog.setSample(s);
    EXPECT_EQ(dialog.field("leSideB")->text(), "20,5");
    EXPECT_TRUE(dialog.field("leDiameter")->isHidden());
    EXPECT_FALSE(dialog.field("leSideA")->isHidden());
    // eps0 * 10 mm * 20.5 mm / 0.25 mm
    EXPECT_EQ(dialog.findChild<QLabel *>("lblEmptyCell")->text(), "C0 = 7,260434006496 пФ");
    dialog.accept();
    ASSERT_TRUE(dialog.chosen().has_value());
    EXPECT_EQ(*dialog.chosen(), s);
}

class SampleWindowTest : public RunWindowTest {
protected:
    QString statusSample() const {
        const QLabel *label = window->statusBar()->findChild<QLabel *>("lblSample");
        return label && !label->isHidden() ? label->text() : QString();
    }
    // Runs "Образец..." with the dialog filled by `fill` and closed by `close`.
    void enterSample(const std::function<void(SampleDialog &)> &fill,
                     const std::function<void(SampleDialog &)> &close) {
        window->sampleCommand()->setDialogShown([&](SampleDialog &dialog) {
            fill(dialog);
            close(dialog);
        });
        window->actions().actSample->trigger();
    }
    std::optional<TSample> journalled(qint64 runId) {
        const std::optional<TJournalRun> run = window->journal()->load(runId);
        return run ? run->Summary.Sample : std::nullopt;
    }
    void recordReading(int hz) {
        storeTemperature(20.0);
        storeMeterFrame(hz, 2);
        refreshMeter();
    }
};

TEST_F(SampleWindowTest, TheSampleBelongsToTheRunAndIsProposedForTheNext) {
    EXPECT_EQ(statusSample(), "");
    EXPECT_FALSE(window->journal()->sample().has_value());
    const auto disc = [](SampleDialog &dialog) {
        dialog.field("leSampleName")->setText("ПВДФ-3");
        type(dialog, {Circle, "10", "", "", "", "0,1", ""});
        dialog.field("leOperator")->setText("Иванова");
    };
    enterSample(disc, [](SampleDialog &dialog) { dialog.accept(); });
    EXPECT_EQ(statusSample(), "Образец: ПВДФ-3, C0 = 6,954 пФ");

    // The run takes it when it begins, and a change after the run follows.
    engine().setInstrumentsReady(true);
    window->ui().lblSkipIM->setText(QStringLiteral("1"));
    window->actions().actStart->trigger();
    ASSERT_TRUE(engine().isRunning());
    recordReading(1000);
    window->actions().actStop->trigger();
    const qint64 run = window->journal()->currentRunId();
    ASSERT_NE(run, 0);
    ASSERT_TRUE(journalled(run).has_value());
    EXPECT_EQ(journalled(run)->Name, "ПВДФ-3");
    enterSample([](SampleDialog &dialog) { dialog.field("leThickness")->setText("0,2"); },
                [](SampleDialog &dialog) { dialog.accept(); });
    EXPECT_EQ(journalled(run)->ThicknessMm, 0.2);
    EXPECT_EQ(statusSample(), "Образец: ПВДФ-3, C0 = 3,477 пФ");

    // Refused or cancelled, nothing changes.
    enterSample(
        [](SampleDialog &dialog) {
            dialog.setNotice([](const QString &) {});
            dialog.field("leThickness")->setText("-1");
        },
        [](SampleDialog &dialog) {
            dialog.accept();
            if (dialog.result() != QDialog::Accepted)
                dialog.reject();
        });
    enterSample([](SampleDialog &dialog) { dialog.field("leSampleName")->setText("другой"); },
                [](SampleDialog &dialog) { dialog.reject(); });
    EXPECT_EQ(journalled(run)->ThicknessMm, 0.2);
    EXPECT_EQ(journalled(run)->Name, "ПВДФ-3");

    // The export of the run on the screen carries the sample and what it gives.
    const QString exported = dir.filePath("readings.csv");
    prompts.saveAs = exported;
    window->actions().actFileSaveReadings->trigger();
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_TRUE(lines.contains("# sample: ПВДФ-3"));
    EXPECT_TRUE(lines.contains("# thickness_mm: 0.2"));
    // The run's one start, with its time from the journal.
    const auto start = std::find_if(lines.begin(), lines.end(), [](const QByteArray &line) {
        return line.startsWith("# start: ");
    });
    ASSERT_NE(start, lines.end());
    EXPECT_FALSE(start->contains("time unknown")) << start->toStdString();
    const QByteArray reading = lines.at(lines.size() - 2);
    EXPECT_FALSE(reading.split(',').at(11).isEmpty()) << reading.toStdString();

    // "Прошлые измерения..." names it, and shows all of it on the name.
    bool listed = false;
    window->pastRunsCommand()->setDialogShown([&](PastRunsDialog &dialog) {
        QTableWidget *list = dialog.list();
        ASSERT_EQ(list->rowCount(), 1);
        for (int column = 0; column < list->columnCount(); ++column)
            if (list->horizontalHeaderItem(column)->text() == "Образец") {
                listed = true;
                EXPECT_EQ(list->item(0, column)->text(), "ПВДФ-3");
                EXPECT_EQ(list->item(0, column)->toolTip(),
                          "ПВДФ-3\nЭлектроды: круг диаметром 10 мм\nТолщина: 0,2 мм\n"
                          "C0 = 3,477 пФ\nОператор: Иванова");
            }
    });
    window->actions().actPastRuns->trigger();
    EXPECT_TRUE(listed);

    // The next start of the program proposes it for its first run.
    prompts.answers = {
        {TPromptChoice::Role::Destructive, QStringLiteral("Закрыть без сохранения")}};
    ASSERT_TRUE(window->close());
    window.reset();
    SetUp();
    // The journal opens on its own thread; the proposal follows.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->journal()->sample().has_value(); }));
    EXPECT_EQ(statusSample(), "Образец: ПВДФ-3, C0 = 3,477 пФ");
    ASSERT_TRUE(window->journal()->sample().has_value());
    EXPECT_EQ(window->journal()->sample()->Operator, "Иванова");

    // "Без образца" takes it away.
    enterSample([](SampleDialog &) {}, [](SampleDialog &dialog) { dialog.acceptWithoutSample(); });
    EXPECT_FALSE(window->journal()->sample().has_value());
    EXPECT_EQ(statusSample(), "");
}

// The chart's list of quantities, with the sample of the run on the screen.
TEST_F(SampleWindowTest, EachChartShowsTheQuantityChosenFromItsList) {
    engine().beginRun();
    engine().setSkipCount(1);
    TSample cell;
    cell.Shape = TSample::Geometry::EmptyCell;
    cell.EmptyCellPf = 10;
    window->journal()->setSample(cell);
    const auto record = [this](double temperature, int hz, uint8_t key) {
        storeTemperature(temperature);
        MeterModel meter(hz);
        if (key)
            meter.pressKey(key);
        storeFrame(EncodeMeterFrame(meter.display(temperature)), 2);
        refreshMeter();
    };
    record(20.0, 100, 0);
    record(21.0, 100, 0);
    record(20.0, 1000, simkey::R); // Rp with Cp: the same material values

    TChartController &chart = *window->chartController();
    window->actions().actShowChart->trigger();
    ChartWindow *view = chart.chartWindow();
    QComboBox *upper = view->cmbQuantity(0);
    const int epsImag = upper->findData("eps_imag");
    ASSERT_GE(epsImag, 0);
    emit upper->activated(epsImag);
    EXPECT_EQ(chart.quantity(0).key(), "eps_imag");
    EXPECT_EQ(view->chart(0)->chart()->axes(Qt::Vertical).first()->titleText(), "ε″");
    EXPECT_EQ(chart.series(0).pointCount(), 3);
    // D of the capacitor is small: eps'' = D Cp / C0
    const TPlotReading &first = chart.readings().readings()[0];
    EXPECT_NEAR(chart.series(0).series()[0].Points[0].Value.y(),
                first.SecValue * first.MainValue / 10E-12, 1E-9);
    EXPECT_EQ(view->lblNote()->text(), "");
    EXPECT_EQ(QSettings(dir.filePath("chart.ini"), QSettings::IniFormat)
                  .value("chart/upper_quantity")
                  .toString(),
              "eps_imag");

    // A current gives no material value: the chart says so once.
    record(22.0, 100, simkey::I);
    record(23.0, 100, simkey::I);
    EXPECT_EQ(chart.series(0).pointCount(), 3);
    EXPECT_EQ(view->lblNote()->text(), "ε″ показано не для всех ячеек: прибор измерял ток.");

    // Without a sample the quantities that need one are not offered, and the chart says why.
    window->journal()->setSample(std::nullopt);
    const auto *items = qobject_cast<QStandardItemModel *>(upper->model());
    EXPECT_FALSE(items->item(epsImag)->isEnabled());
    EXPECT_TRUE(items->item(upper->findData("tan_delta"))->isEnabled());
    EXPECT_EQ(chart.series(0).pointCount(), 0);
    EXPECT_EQ(view->lblNote()->text(), "ε″ не показано: нет образца (Файл > Образец...).");
}

} // namespace
