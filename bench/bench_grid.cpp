// The results grid with 10 001 rows (-50 .. 50 °C in steps of 0,01): how long
// preparing the table takes, and how long a repaint of the visible cells
// takes at the top, in the middle and with every result cell filled.
#include "gui/test_window.h"
#include "control/table_preparation.h"
#include "ui/results_grid_view.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

class GridBench {
public:
    GridBench() {
        TMainOptions options;
        options.settingsPath = m_dir.filePath(QStringLiteral("options.ini"));
        options.decimalSeparator = QLatin1Char(',');
        m_window = std::make_unique<TestWindow>(options);
        for (QTimer *timer : m_window->findChildren<QTimer *>())
            timer->stop();
        const MainWindowUi &ui = m_window->ui();
        ui.leTempInit->setText(QStringLiteral("-50"));
        ui.leTempFinal->setText(QStringLiteral("50"));
        ui.leTempStep->setText(QStringLiteral("0,01"));
        ui.leTempDiff->setText(QStringLiteral("0,003"));
        ui.leFreqColCount->setText(QStringLiteral("5"));
        m_window->resize(1024, 768);
        m_window->show();
        QApplication::processEvents();
    }

    void prepare() {
        m_window->actions().actApplySettiingsTempAndGrid->trigger();
        QApplication::processEvents();
    }

    ResultsGridView *grid() const { return m_window->ui().grdTable; }

    void fillResults() {
        for (int r = 1; r < grid()->rowCount(); ++r)
            for (int c = 2; c < grid()->columnCount(); ++c)
                grid()->setItem(r, c, new QTableWidgetItem(QStringLiteral("1,52E-9;----;0,0123")));
        QApplication::processEvents();
    }

    // Paints every visible cell of both views, as an expose of the window does.
    void repaint() {
        grid()->viewport()->repaint();
        grid()->frozenView()->viewport()->repaint();
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestWindow> m_window;
};

void prepareTable(benchmark::State &state, GridBench &bench) {
    for (auto _ : state)
        bench.prepare();
    state.counters["rows"] = bench.grid()->rowCount();
}

void repaintTop(benchmark::State &state, GridBench &bench) {
    bench.prepare();
    bench.grid()->verticalScrollBar()->setValue(0);
    for (auto _ : state)
        bench.repaint();
}

void repaintScrolledToMiddle(benchmark::State &state, GridBench &bench) {
    bench.prepare();
    QScrollBar *bar = bench.grid()->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue(bar->maximum() / 2 + (step++ % 50) * 40);
        bench.repaint();
    }
}

void repaintFilled(benchmark::State &state, GridBench &bench) {
    bench.prepare();
    bench.fillResults();
    QScrollBar *bar = bench.grid()->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((step++ % 200) * bar->maximum() / 200);
        bench.repaint();
    }
}

// Preparing over a table whose every result cell holds a reading.
void prepareFilledTable(benchmark::State &state, GridBench &bench) {
    for (auto _ : state) {
        state.PauseTiming();
        bench.fillResults();
        state.ResumeTiming();
        bench.prepare();
    }
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    GridBench bench;
    benchmark::RegisterBenchmark("PrepareTable", prepareTable, std::ref(bench))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RepaintTop", repaintTop, std::ref(bench))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("RepaintScrolledToMiddle", repaintScrolledToMiddle,
                                 std::ref(bench))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("RepaintFilled", repaintFilled, std::ref(bench))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("PrepareFilledTable", prepareFilledTable, std::ref(bench))
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
