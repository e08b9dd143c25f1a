// The live chart, the run's progress in the status bar and the per-reading
// export, fed by the capture of a run on the main window.
#include "instruments_support.h"
#include "run_window_support.h"

#include "base/number_format.h"
#include "control/chart_controller.h"
#include "control/readings_export_command.h"
#include "control/run_progress.h"
#include "sim_thermometer.h"
#include "ui/chart_window.h"
#include "ui/meter_display_view.h"
#include "ui/reading_chart_view.h"
#include "ui/thermo_display_view.h"

#include <QAction>
#include <QCategoryAxis>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTest>

#include <map>

namespace {

const QChar kComma = QLatin1Char(',');

QString frequencyName(int hz) {
    return hz >= 1000 ? QString::number(hz / 1000) + " kHz" : QString::number(hz) + " Hz";
}

double baseValue(const QString &text) {
    double value = 0;
    EXPECT_TRUE(numfmt::parseFloat(text, kComma, &value)) << text.toStdString();
    return value;
}

// The newest recorded reading of every cell, by cell.
using CellReadings = std::map<std::pair<int, int>, TJournalReading>;

CellReadings newestByCell(const QVector<TJournalReading> &recorded) {
    CellReadings cells;
    for (const TJournalReading &r : recorded)
        cells[{r.Row, r.Col}] = r;
    return cells;
}

// Against the temperature: one series per frequency, ascending, named after
// it, holding the newest reading of each of its cells in row order.
void expectChartHolds(const ReadingChartView *chart, const QVector<TJournalReading> &recorded,
                      bool secondary) {
    std::map<int, std::vector<TJournalReading>> byFrequency; // cells come in row order
    for (const auto &[cell, reading] : newestByCell(recorded))
        byFrequency[reading.FrequencyHz].push_back(reading);
    ASSERT_EQ(chart->seriesCount(), int(byFrequency.size()));
    const double factor = chart->valueScale().factor();
    int s = 0;
    for (const auto &[hz, readings] : byFrequency) {
        SCOPED_TRACE(hz);
        EXPECT_EQ(chart->seriesName(s), frequencyName(hz));
        const QList<QPointF> points = chart->shownPoints(s);
        ASSERT_EQ(points.size(), int(readings.size()));
        for (int p = 0; p < points.size(); ++p) {
            const double value = baseValue(secondary ? readings[p].SecBase : readings[p].MainBase);
            EXPECT_DOUBLE_EQ(points[p].x(), readings[p].Temperature);
            EXPECT_DOUBLE_EQ(points[p].y(), value / factor);
        }
        ++s;
    }
}

class ChartWindowTest : public RunWindowTest {
protected:
    void SetUp() override {
        RunWindowTest::SetUp();
        engine().beginRun();
        engine().setSkipCount(1);
        QObject::connect(&capture(), &TReadingCapture::readingRecorded, window.get(),
                         [this](const TJournalReading &r) { recorded.append(r); });
    }

    TChartController &chart() { return *window->chartController(); }
    ReadingChartView *mainChart() { return chart().chartWindow()->chart(0); }
    ReadingChartView *secondaryChart() { return chart().chartWindow()->chart(1); }
    QString status(const char *label) const {
        return window->statusBar()->findChild<QLabel *>(QLatin1String(label))->text();
    }

    // The thermometer reads `temperature` and the meter, settled at hz,
    // measures the component at `componentTemperature`.
    void record(double temperature, int hz, double componentTemperature) {
        storeTemperature(temperature);
        storeFrame(EncodeMeterFrame(MeterModel(hz).display(componentTemperature)), 2);
        refreshMeter();
    }

    QVector<TJournalReading> recorded;
};

TEST_F(ChartWindowTest, SeriesHoldTheNewestReadingOfEachCellAndARecordedCellMovesItsPoint) {
    window->actions().actShowChart->trigger();
    ASSERT_NE(chart().chartWindow(), nullptr);
    EXPECT_TRUE(chart().chartWindow()->isVisible());

    record(20.1, 100, 20);
    record(20.1, 1000, 20);
    record(21.0, 100, 21);
    record(-49.9, 5000, -50);
    ASSERT_EQ(recorded.size(), 4);
    expectChartHolds(mainChart(), recorded, false);
    expectChartHolds(secondaryChart(), recorded, true);
    EXPECT_EQ(mainChart()->chart()->axes(Qt::Vertical).first()->titleText(), "Cp, nF");
    EXPECT_EQ(secondaryChart()->chart()->axes(Qt::Vertical).first()->titleText(), "D");

    grid()->setCurrentCell(rowOf(20), columnOf(100));
    const QPointF before = mainChart()->shownPoints(0)[0];
    EXPECT_EQ(mainChart()->highlightedPoint(), before);

    record(19.8, 100, 60); // the same cell again, warmer component
    ASSERT_EQ(recorded.size(), 5);
    expectChartHolds(mainChart(), recorded, false);
    expectChartHolds(secondaryChart(), recorded, true);
    EXPECT_EQ(mainChart()->shownPoints(0).size(), 2) << "moved, not added";
    const QPointF after = mainChart()->shownPoints(0)[0];
    EXPECT_NE(after, before);
    EXPECT_EQ(mainChart()->highlightedPoint(), after) << "the ring follows the point";
}

TEST_F(ChartWindowTest, AgainstFrequencyOneSeriesPerSetPointAndBackAgain) {
    record(20.1, 100, 20);
    record(20.2, 5000, 20);
    record(21.0, 1000, 21);
    window->actions().actShowChart->trigger(); // opened after the readings came

    ChartWindow *view = chart().chartWindow();
    view->chbAgainstFrequency()->setChecked(true);
    ASSERT_EQ(mainChart()->seriesCount(), 2);
    EXPECT_EQ(mainChart()->seriesName(0), "20 °C");
    EXPECT_EQ(mainChart()->seriesName(1), "21 °C");
    const QList<QPointF> points = mainChart()->shownPoints(0);
    ASSERT_EQ(points.size(), 2);
    EXPECT_DOUBLE_EQ(points[0].x(), 100);
    EXPECT_DOUBLE_EQ(points[1].x(), 5000);
    EXPECT_TRUE(mainChart()->logArgument());
    // Under two decades: 2x and 5x are labelled too.
    auto *frequencies =
        qobject_cast<QCategoryAxis *>(mainChart()->chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(frequencies, nullptr);
    EXPECT_EQ(frequencies->categoriesLabels(),
              QStringList({"100", "200", "500", "1000", "2000", "5000"}));
    EXPECT_LT(frequencies->min(), std::log10(100.0)) << "room for the marker at the end";
    EXPECT_GT(frequencies->max(), std::log10(5000.0));

    view->chbLogScale()->setChecked(true);
    EXPECT_TRUE(mainChart()->logValues());
    const QPointF first = mainChart()->shownPoints(0)[0];
    EXPECT_NEAR(first.y(), baseValue(recorded[0].MainBase) / mainChart()->valueScale().factor(),
                1e-12 * first.y());
    view->chbAgainstFrequency()->setChecked(false);
    view->chbLogScale()->setChecked(false);
    expectChartHolds(mainChart(), recorded, false);
}

// 25 set points against the frequency: every series a colour of its own.
TEST_F(ChartWindowTest, SeriesOfManySetPointsNeverShareAColour) {
    for (int t = 0; t < 25; ++t)
        record(-50.0 + t, 100, -50 + t);
    window->actions().actShowChart->trigger();
    chart().chartWindow()->chbAgainstFrequency()->setChecked(true);
    ASSERT_EQ(mainChart()->seriesCount(), 25);
    QSet<QRgb> colors;
    for (int s = 0; s < 25; ++s)
        colors.insert(mainChart()->seriesColor(s).rgb());
    EXPECT_EQ(colors.size(), 25);
    // A legend would show only the series it has room for.
    EXPECT_TRUE(mainChart()->showsColorBar());
    EXPECT_FALSE(mainChart()->chart()->legend()->isVisible());

    chart().chartWindow()->chbAgainstFrequency()->setChecked(false);
    EXPECT_FALSE(mainChart()->showsColorBar()) << "one frequency: a legend";
    EXPECT_TRUE(mainChart()->chart()->legend()->isVisible());
}

// The value scale, the horizontal axis and an open window come back at the
// next start, as the run restored from the journal does.
TEST_F(ChartWindowTest, ChoicesAndTheOpenWindowAreKeptBetweenStarts) {
    window->actions().actShowChart->trigger();
    chart().chartWindow()->chbLogScale()->setChecked(true);
    chart().chartWindow()->chbAgainstFrequency()->setChecked(true);

    window = std::make_unique<TestWindow>(windowOptions()); // the last one died with its chart open
    stopTimers();
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart().chartWindow() != nullptr; }));
    EXPECT_TRUE(chart().chartWindow()->isVisible());
    EXPECT_TRUE(chart().chartWindow()->chbLogScale()->isChecked());
    EXPECT_TRUE(chart().chartWindow()->chbAgainstFrequency()->isChecked());
    EXPECT_TRUE(mainChart()->logArgument());
    EXPECT_TRUE(mainChart()->logValues());

    // Closed by the user, it stays closed at the next start.
    chart().chartWindow()->close();
    window = std::make_unique<TestWindow>(windowOptions());
    stopTimers();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(chart().chartWindow(), nullptr);
}

// Side by side on a 1366 x 768 screen: neither window needs more than the
// other leaves it.
TEST_F(ChartWindowTest, FitsBesideTheMainWindowOnASmallScreen) {
    window->actions().actShowChart->trigger();
    ChartWindow *view = chart().chartWindow();
    EXPECT_LE(window->minimumSizeHint().width() + view->minimumSizeHint().width(), 1366 - 20);
    EXPECT_LE(view->minimumSizeHint().width(), ChartWindow::smallestSize().width());
    EXPECT_LE(view->minimumSizeHint().height(), 768 - 60);
}

TEST_F(ChartWindowTest, EmptyChartKeepsNoAxesOfTheRunBefore) {
    window->actions().actShowChart->trigger();
    chart().chartWindow()->chbAgainstFrequency()->setChecked(true);
    record(20.1, 100, 20);
    record(20.1, 5000, 20);
    auto *axis = qobject_cast<QCategoryAxis *>(mainChart()->chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(axis, nullptr);
    EXPECT_FALSE(axis->categoriesLabels().isEmpty());

    window->actions().actApplySettiingsTempAndGrid->trigger();
    EXPECT_TRUE(mainChart()->seriesCount() == 0);
    axis = qobject_cast<QCategoryAxis *>(mainChart()->chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(axis, nullptr);
    EXPECT_TRUE(axis->categoriesLabels().isEmpty());
    EXPECT_EQ(mainChart()->chart()->axes(Qt::Vertical).first()->titleText(), "Основной параметр");
    EXPECT_EQ(axis->titleText(), "Частота, Hz");
}

TEST_F(ChartWindowTest, APreparedTableStartsAnEmptyChartAndProgress) {
    const QDateTime start = QDateTime::currentDateTime();
    window->runProgress()->runStarted(start);
    record(20.1, 100, 20);
    window->actions().actShowChart->trigger();
    EXPECT_EQ(mainChart()->seriesCount(), 1);
    window->actions().actApplySettiingsTempAndGrid->trigger(); // Tag 0: nothing to confirm
    EXPECT_TRUE(mainChart()->seriesCount() == 0);
    EXPECT_TRUE(chart().readings().readings().isEmpty());
    window->runProgress()->refresh(start.addSecs(5));
    EXPECT_EQ(status("lblElapsed"), "Время: —");
    EXPECT_EQ(status("lblCells").left(10), "Ячейки: 0 ");
}

// What the journal gives back for a restored or past run replaces the
// current readings; its export needs no window.
TEST_F(ChartWindowTest, ARunFromTheJournalReplacesTheReadingsAndCanBeExported) {
    record(20.1, 100, 20);
    record(20.1, 1000, 20);
    record(20.2, 100, 21);
    TJournalRun run;
    run.Table.DecimalSeparator = kComma;
    TJournalSegment segment;
    segment.Start.Time = QDateTime(QDate(2024, 3, 5), QTime(9, 0));
    segment.Readings = recorded;
    run.Segments = {segment};
    run.Summary.EndedAt = segment.Start.Time.addSecs(3 * 3600 + 120);

    TSample sample;
    sample.Name = "BaTiO3 №2";
    run.Summary.Sample = sample;

    window->actions().actApplySettiingsTempAndGrid->trigger();
    window->actions().actShowChart->trigger();
    EXPECT_TRUE(mainChart()->seriesCount() == 0);
    EXPECT_FALSE(chart().chartWindow()->lblTitle()->isVisible());
    chart().loadRun(run);
    expectChartHolds(mainChart(), recorded, false);
    // The title over the charts, in their saved image too, names the sample and the day.
    const QString title = "BaTiO3 №2, измерения " + recorded[0].Time.toString("dd.MM.yyyy HH:mm");
    EXPECT_EQ(chart().chartWindow()->lblTitle()->text(), title);
    EXPECT_TRUE(chart().chartWindow()->lblTitle()->isVisible());
    EXPECT_TRUE(
        chart().chartWindow()->chartsArea()->isAncestorOf(chart().chartWindow()->lblTitle()));
    EXPECT_TRUE(chart().chartWindow()->windowTitle().endsWith(title));
    EXPECT_EQ(status("lblElapsed"), "Время: 3 ч 2 мин");
    EXPECT_EQ(status("lblCells").left(11), "Ячейки: 2 и");

    QTemporaryDir folder;
    prompts.saveAs = folder.filePath("past.csv");
    window->readingsExport()->saveRun(run);
    ASSERT_FALSE(prompts.asks.isEmpty());
    EXPECT_EQ(prompts.asks.last().file.start, "Отсчёты 2024-03-05 09-00.csv");
    QFile file(folder.filePath("past.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    int described = 0;
    while (lines[described].startsWith('#'))
        ++described;
    EXPECT_EQ(lines.size() - described, 1 + recorded.size() + 1);
}

TEST_F(ChartWindowTest, SavesBothChartsAsPngOrSvg) {
    record(20.1, 100, 20);
    record(21.0, 100, 21);
    window->actions().actShowChart->trigger();
    QTemporaryDir folder;
    QString &chosen = prompts.saveAs;
    const auto errors = [&] { return prompts.notices(); };

    chosen = folder.filePath("chart.png");
    chart().chartWindow()->btnSaveImage()->click();
    QImage image(chosen);
    EXPECT_EQ(image.size(), chart().chartWindow()->chartsArea()->size());

    chosen = folder.filePath("chart.svg");
    chart().saveImage();
    QFile svg(chosen);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<svg")) << "a vector drawing, not a picture inside one";
    EXPECT_TRUE(text.contains("<path") || text.contains("<polyline"));
    EXPECT_TRUE(errors().isEmpty());
    const TFileRequest &request = prompts.asks.last().file;
    EXPECT_EQ(request.filter, "Изображение PNG (*.png);;Рисунок SVG (*.svg)");
    EXPECT_TRUE(request.suffixFollowsFilter);

    chosen = folder.filePath("missing/chart.png");
    chart().saveImage();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith("Не удалось сохранить изображение"))
        << errors()[0].toStdString();
}

TEST_F(ChartWindowTest, StatusBarShowsCellsTimeDriftAndArrival) {
    TRunProgress &progress = *window->runProgress();
    const QDateTime start(QDate(2024, 3, 5), QTime(14, 0, 0));
    progress.runStarted(start);
    record(-50.0, 100, -50);
    record(-50.0, 1000, -50);
    record(-50.0, 5000, -50);
    record(-49.0, 100, -49);
    // The thermometer warms by half a degree a minute from -49.5 over two minutes.
    for (int s = 0; s <= 120; ++s)
        progress.takeTemperature(start.addSecs(s), -50.5 + s / 120.0);
    storeTemperature(-49.5);
    progress.refresh(start.addSecs(125));

    EXPECT_EQ(status("lblCells"), "Ячейки: 4 из 243");
    EXPECT_EQ(status("lblElapsed"), "Время: 2 мин 5 с");
    EXPECT_EQ(status("lblDrift"), "Дрейф: +0,50 °C/мин");
    // Row -50 is full; -49 still has two empty cells: its band starts at -49,3,
    // 24 s away.
    EXPECT_EQ(status("lblArrival"), "До -49 °C: 24 с, около 14:02");

    progress.runStopped(start.addSecs(130));
    progress.refresh(start.addSecs(600));
    EXPECT_EQ(status("lblElapsed"), "Время: 2 мин 10 с") << "stopped runs stop the clock";
}

TEST_F(ChartWindowTest, ExportOfTheCurrentRunHasALinePerRecordedReading) {
    record(20.1, 100, 20);
    record(20.2, 100, 21);
    record(21.0, 1000, 21);
    QTemporaryDir folder;
    const QString path = folder.filePath("readings.csv");
    prompts.saveAs = path;
    window->actions().actFileSaveReadings->trigger();
    ASSERT_TRUE(prompts.notices().isEmpty()) << prompts.notices().join('\n').toStdString();
    ASSERT_FALSE(prompts.asks.isEmpty());
    EXPECT_EQ(prompts.asks.last().file.start, "Отсчёты 2024-03-05 09-00.csv")
        << "the time of the first reading, on the fixture's clock";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    // The run's description: the table as prepared, the latest start.
    QList<QByteArray> description;
    while (!lines.isEmpty() && lines.first().startsWith('#'))
        description << lines.takeFirst();
    EXPECT_TRUE(description.contains("# sample: none"));
    EXPECT_TRUE(description.contains(
        "# tolerance_C: " +
        numfmt::general(window->engine().temperatures().TempDiff, '.').toUtf8()));
    ASSERT_EQ(lines.size(), 1 + recorded.size() + 1); // header, readings, after the last end
    for (int i = 0; i < recorded.size(); ++i) {
        const QList<QByteArray> f = lines[1 + i].split(',');
        EXPECT_EQ(f[3].toInt(), recorded[i].FrequencyHz);
        EXPECT_DOUBLE_EQ(f[5].toDouble(), baseValue(recorded[i].MainBase));
        EXPECT_EQ(QByteArray::fromHex(f[10]), recorded[i].Frame);
    }

    // The peaks beside it: of Cp and D as measured and of tan delta, per frequency.
    QFile peaks(folder.filePath("readings_peaks.csv"));
    ASSERT_TRUE(peaks.open(QIODevice::ReadOnly));
    const QList<QByteArray> peakLines = peaks.readAll().split('\n');
    ASSERT_EQ(peakLines.size(), 1 + 3 * 2 + 1);
    EXPECT_EQ(peakLines[0], "quantity,frequency_Hz,T_m_C,T_m_K,value,peak");
    EXPECT_TRUE(peakLines[1].startsWith("Cp,100,")) << peakLines[1].toStdString();
    EXPECT_TRUE(peakLines[3].startsWith("D,100,")) << peakLines[3].toStdString();
    EXPECT_TRUE(peakLines[3].endsWith(",few_points")) << peakLines[3].toStdString();
    EXPECT_TRUE(peakLines[5].startsWith("tan_delta,100,")) << peakLines[5].toStdString();

    window->actions().actApplySettiingsTempAndGrid->trigger();
    window->actions().actFileSaveReadings->trigger();
    EXPECT_EQ(prompts.notices().size(), 1) << "nothing recorded, nothing to save";
}

// Each chart's list is the list of quantities with today's titles, starts
// with the quantity of its place, and offers those that need a sample only
// with one.
TEST(ChartQuantityChoice, TheListOfQuantitiesIsWhatEachChartOffers) {
    const char *const titles[] = {
        "Основной параметр",
        "Дополнительный параметр",
        "ε′ — диэлектрическая проницаемость",
        "ε″ — коэффициент потерь",
        "tan δ — тангенс угла потерь",
        "σ′ — удельная проводимость, S/m",
        "M″ — электрический модуль, мнимая часть",
    };
    const QVector<TChartQuantity> &list = chartQuantities();
    ASSERT_EQ(list.size(), int(std::size(titles)));
    ChartWindow view(kComma);
    QVector<std::pair<int, QString>> chosen;
    QObject::connect(&view, &ChartWindow::quantityChosen, &view, [&](int chart, TChartQuantity q) {
        chosen.append({chart, q.key()});
    });
    view.setSampleKnown(false);
    for (int chart = 0; chart < ChartWindow::kCharts; ++chart) {
        SCOPED_TRACE(chart);
        QComboBox *combo = view.cmbQuantity(chart);
        ASSERT_EQ(combo->count(), list.size());
        EXPECT_EQ(combo->currentIndex(), chart);
        const auto *items = qobject_cast<QStandardItemModel *>(combo->model());
        for (int at = 0; at < list.size(); ++at) {
            EXPECT_EQ(combo->itemText(at), QString::fromUtf8(titles[at]));
            EXPECT_EQ(items->item(at)->isEnabled(), !list[at].needsSample()) << titles[at];
            chosen.clear();
            emit combo->activated(at);
            EXPECT_EQ(chosen, (QVector<std::pair<int, QString>>{{chart, list[at].key()}}));
        }
        view.setQuantity(chart, list.last());
        EXPECT_EQ(combo->currentIndex(), list.size() - 1);
    }
}

// A run on the simulated bench with the chart open from the start: the
// thermometer ramps through two set points while the meter steps through
// three frequencies, and cells are recorded again while a step waits.
TEST(ChartOnSimulatedBench, SeriesHoldExactlyTheRecordedReadingsAfterARun) {
    SimulatedBench bench;
    bench.writeSettings();
    TestWindow window(bench.windowOptions());
    QVector<TJournalReading> recorded;
    QObject::connect(window.readingCapture(), &TReadingCapture::readingRecorded, &window,
                     [&](const TJournalReading &r) { recorded.append(r); });

    const MainWindowUi &ui = window.ui();
    ui.leTempInit->setText("20");
    ui.leTempFinal->setText("22");
    ui.leTempStep->setText("1");
    ui.leTempDiff->setText("0,4");
    ui.leFreqColCount->setText("3");
    window.actions().actApplySettiingsTempAndGrid->trigger();
    const int frequencies[] = {100, 1000, 5000};
    for (int i = 0; i < 3; ++i)
        ui.grdTable->setItem(0, i + 2, new QTableWidgetItem(QString::number(frequencies[i])));
    ui.lblSkipIM->setText("1");
    window.actions().actShowChart->trigger();

    const QColor linkOk(77, 213, 11);
    ASSERT_TRUE(waitUntil([&] {
        return window.engine().portsOpen() && ui.meterDisplay->panelColor() == linkOk &&
               ui.thermoDisplay->panelColor() == linkOk && window.actions().actStart->isEnabled();
    }));
    bench.thermometer().setProgramme(TemperatureProgramme::ramp(19.7, 23.0, 15.0));
    window.actions().actStart->trigger();
    ASSERT_TRUE(waitUntil(
        [&] {
            return window.chartController()->readings().filledCellCount() >= 6 &&
                   newestByCell(recorded).size() < size_t(recorded.size());
        },
        20000));
    window.actions().actStop->trigger();
    for (QTimer *timer : window.findChildren<QTimer *>())
        timer->stop();

    ReadingChartView *main = window.chartController()->chartWindow()->chart(0);
    expectChartHolds(main, recorded, false);
    expectChartHolds(window.chartController()->chartWindow()->chart(1), recorded, true);
    EXPECT_EQ(window.chartController()->readings().readings().size(), recorded.size());
}

} // namespace
