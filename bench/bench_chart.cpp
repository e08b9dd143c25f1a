// The live chart over a run of 10 000 set points x 20 frequencies (200 000
// cells, one reading each): opening the chart for such a run (and, apart,
// taking the run in while the window is closed), adding one
// point (a new cell) and moving one (a cell recorded again), each without
// drawing, with the repaint the screen needs after it, and with both charts
// drawn whole, and one refresh of the progress in the status bar over that
// table; the chart against frequency opened for that run, and a point added
// and moved in it. It uses the chart
// controller's public calls only, so that the same
// file built against an older program measures that one.
#include "gui/test_window.h"
#include "base/number_format.h"
#include "control/chart_controller.h"
#include "control/run_progress.h"
#include "engine/run_engine.h"
#include "meter_model.h"
#include "ui/chart_window.h"
#include "ui/reading_chart_view.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

#include "big_run_shape.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

using bigrun::kComma;
using bigrun::kFrequencies;
using bigrun::kHz;
using bigrun::kSetPoints;

TJournalReading readingAt(int setPointIndex, int frequencyIndex, double componentTemperature) {
    TJournalReading r;
    r.Row = setPointIndex + 1;
    r.Col = frequencyIndex + 2;
    r.TempIndex = setPointIndex;
    r.FreqIndex = frequencyIndex;
    // Asking the clock would read the time zone file each time.
    static const QDateTime now = QDateTime::currentDateTime();
    r.Time = now;
    r.SetPoint = -50 + setPointIndex * 0.01;
    r.Temperature = r.SetPoint + 0.001 * (frequencyIndex - 10);
    r.FrequencyHz = kHz[frequencyIndex];
    r.Frame = QByteArray(21, char(0x11));
    const CapacitorReading c = CapacitorAt(componentTemperature, r.FrequencyHz);
    r.MainName = QStringLiteral("Cp");
    r.MainUnit = QStringLiteral("nF");
    r.MainBase = numfmt::general(c.cp, kComma);
    r.SecName = QStringLiteral("D");
    r.SecUnit = QStringLiteral("  ");
    r.SecBase = numfmt::general(c.d, kComma);
    return r;
}

TJournalRun fullRun() {
    TJournalRun run;
    run.Table.DecimalSeparator = kComma;
    TJournalSegment segment;
    segment.Start.Time = QDateTime::currentDateTime();
    segment.Readings.reserve(kSetPoints * kFrequencies);
    for (int t = 0; t < kSetPoints; ++t)
        for (int f = 0; f < kFrequencies; ++f)
            segment.Readings.append(readingAt(t, f, -50 + t * 0.01));
    run.Segments.append(segment);
    return run;
}

class ChartBench {
public:
    ChartBench() : m_run(fullRun()) {
        TMainOptions options;
        options.settingsPath = m_dir.filePath(QStringLiteral("options.ini"));
        options.decimalSeparator = kComma;
        m_window = std::make_unique<TestWindow>(options);
        for (QTimer *timer : m_window->findChildren<QTimer *>())
            timer->stop();
        TTempStorage &temps = m_window->engine().temperatures();
        temps.Clear();
        temps.TempInit = -50;
        temps.TempFinal = -50 + (kSetPoints - 1) * 0.01;
        temps.TempDiff = 0.003;
        for (int t = 0; t < kSetPoints; ++t)
            temps.Add({-50 + t * 0.01, t + 1, 0});
        m_window->ui().grdTable->setColumnCount(kFrequencies + 2);
        m_window->show();
        QApplication::processEvents();
    }

    TChartController &chart() { return *m_window->chartController(); }
    TRunProgress &progress() { return *m_window->runProgress(); }
    const TJournalRun &run() const { return m_run; }

    // The chart window with the whole run in it, drawn.
    void openWithRun() {
        chart().loadRun(m_run);
        chart().actShowChartExecute();
        chart().chartWindow()->resize(1000, 800);
        drawCharts();
    }
    void closeChart() {
        if (chart().chartWindow())
            chart().chartWindow()->hide();
        chart().clear();
    }
    // Renders both charts whole, as a new window or a saved image needs.
    void drawCharts() { chart().chartWindow()->chartsArea()->grab(); }

private:
    QTemporaryDir m_dir;
    TJournalRun m_run;
    std::unique_ptr<TestWindow> m_window;
};

void openChart(benchmark::State &state, ChartBench &bench) {
    for (auto _ : state) {
        state.PauseTiming();
        bench.closeChart();
        state.ResumeTiming();
        bench.openWithRun();
    }
    state.counters["points"] = bench.chart().series(0).pointCount();
}

// The chart against frequency: a series per set point, 10 000 of 20 points.
void openChartByFrequency(benchmark::State &state, ChartBench &bench) {
    bench.chart().setAgainstFrequency(true);
    openChart(state, bench);
    state.counters["series"] = bench.chart().series(0).series().size();
    bench.chart().setAgainstFrequency(false);
}

// The readings and the series kept while the chart window is closed.
void loadRunWithWindowClosed(benchmark::State &state, ChartBench &bench) {
    for (auto _ : state) {
        state.PauseTiming();
        bench.closeChart();
        state.ResumeTiming();
        bench.chart().loadRun(bench.run());
    }
}

enum class Draw { None, Whole, Repaint };

// Counts the paint events of the charts' viewports, to show that a repaint
// measured did paint.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(ChartWindow *window) {
        for (ReadingChartView *chart : {window->chart(0), window->chart(1)})
            chart->viewport()->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Runs the event loop until the charts have painted what the screen needs
// after a change: the window asks for its repaint on a timer of the
// platform's, so the wall time includes waiting for it; the CPU time is
// what the repaint cost.
void repaintCharts(PaintCounter &paints) {
    const int before = paints.count;
    QDeadlineTimer deadline(2000);
    while (paints.count == before && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
}

void draw(ChartBench &bench, PaintCounter &paints, Draw how) {
    if (how == Draw::Whole)
        bench.drawCharts();
    else if (how == Draw::Repaint)
        repaintCharts(paints);
}

// New cells in rows after the table's, one each time, so every reading adds
// a point to a chart that holds the whole run.
void addPoint(benchmark::State &state, ChartBench &bench, Draw how) {
    bench.openWithRun();
    QCoreApplication::processEvents();
    PaintCounter paints(bench.chart().chartWindow());
    int n = 0;
    for (auto _ : state) {
        bench.chart().addReading(readingAt(kSetPoints + n / kFrequencies, n % kFrequencies, 25));
        ++n;
        draw(bench, paints, how);
    }
    state.counters["points"] = bench.chart().series(0).pointCount();
    state.counters["paints"] = benchmark::Counter(paints.count, benchmark::Counter::kAvgIterations);
}

// A cell in the middle of the run recorded again with another value.
void movePoint(benchmark::State &state, ChartBench &bench, Draw how) {
    bench.openWithRun();
    QCoreApplication::processEvents();
    PaintCounter paints(bench.chart().chartWindow());
    int n = 0;
    for (auto _ : state) {
        bench.chart().addReading(readingAt(kSetPoints / 2, 7, 20 + (n++ % 10)));
        draw(bench, paints, how);
    }
    state.counters["paints"] = benchmark::Counter(paints.count, benchmark::Counter::kAvgIterations);
}

// The same against the frequency, a series per set point: a new row's first
// reading adds a series of 10 000, the others lengthen the newest one.
void addPointByFrequency(benchmark::State &state, ChartBench &bench, Draw how) {
    bench.chart().setAgainstFrequency(true);
    addPoint(state, bench, how);
    bench.chart().setAgainstFrequency(false);
}

void movePointByFrequency(benchmark::State &state, ChartBench &bench, Draw how) {
    bench.chart().setAgainstFrequency(true);
    movePoint(state, bench, how);
    bench.chart().setAgainstFrequency(false);
}

void refreshProgress(benchmark::State &state, ChartBench &bench) {
    bench.chart().loadRun(bench.run());
    const QDateTime start = QDateTime::currentDateTime();
    bench.progress().runStarted(start);
    for (int s = 0; s < 180; ++s)
        bench.progress().takeTemperature(start.addSecs(s), 20 + s * 0.01);
    int n = 0;
    for (auto _ : state)
        bench.progress().refresh(start.addSecs(180).addMSecs(200 * n++));
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ChartBench bench;
    benchmark::RegisterBenchmark("OpenChartFor10000x20", openChart, std::ref(bench))
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("LoadRunWithWindowClosed", loadRunWithWindowClosed,
                                 std::ref(bench))
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("AddPointTo10000x20", addPoint, std::ref(bench), Draw::None)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("AddPointTo10000x20AndRepaint", addPoint, std::ref(bench),
                                 Draw::Repaint)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(50);
    benchmark::RegisterBenchmark("AddPointTo10000x20AndDraw", addPoint, std::ref(bench),
                                 Draw::Whole)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("MovePointIn10000x20", movePoint, std::ref(bench), Draw::None)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("MovePointIn10000x20AndRepaint", movePoint, std::ref(bench),
                                 Draw::Repaint)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("MovePointIn10000x20AndDraw", movePoint, std::ref(bench),
                                 Draw::Whole)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark("ProgressRefreshOver10000x20", refreshProgress, std::ref(bench))
        ->Unit(benchmark::kMicrosecond);
    // Last and once: it took minutes while Qt Charts kept a series and a
    // legend marker for each of the 10 000 set points.
    benchmark::RegisterBenchmark("OpenChartByFrequencyFor10000x20", openChartByFrequency,
                                 std::ref(bench))
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("AddPointByFrequencyTo10000x20", addPointByFrequency,
                                 std::ref(bench), Draw::None)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("AddPointByFrequencyTo10000x20AndRepaint", addPointByFrequency,
                                 std::ref(bench), Draw::Repaint)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(40);
    benchmark::RegisterBenchmark("MovePointByFrequencyIn10000x20", movePointByFrequency,
                                 std::ref(bench), Draw::None)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("MovePointByFrequencyIn10000x20AndRepaint", movePointByFrequency,
                                 std::ref(bench), Draw::Repaint)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
