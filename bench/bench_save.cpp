// The whole "Сохранить в.." command on a run of 10 000 set points by 20
// frequencies with every reading captured: building the text, filling the
// file log and writing the file, with the log hidden and shown.
#include "gui/test_window.h"
#include "base/number_format.h"
#include "control/save_command.h"
#include "engine/run_engine.h"
#include "engine/user_prompts.h"
#include "files/measurement_file.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

const QChar kComma(',');

// Saves to one file and says what went wrong; the bench asks nothing else.
class SavePrompts : public UserPrompts {
public:
    explicit SavePrompts(QString target) : m_target(std::move(target)) {}
    void notice(TPromptIcon, const QString &text) override {
        qWarning("bench_save: %s", qPrintable(text));
    }
    int question(TPromptIcon, const QString &, const QVector<TPromptChoice> &, int) override {
        return -1;
    }
    QString saveFile(const TFileRequest &) override { return m_target; }
    QString chooseFolder(const QString &, const QString &) override { return QString(); }

private:
    QString m_target;
};

class SaveBench {
public:
    SaveBench() {
        TMainOptions options;
        options.settingsPath = m_dir.filePath(QStringLiteral("options.ini"));
        options.decimalSeparator = kComma;
        options.prompts = &m_prompts;
        m_window = std::make_unique<TestWindow>(options);
        for (QTimer *timer : m_window->findChildren<QTimer *>())
            timer->stop();
        m_window->actions().actFileSaveTo->setEnabled(true);
        fillTable(10000, 20);
        m_window->resize(1024, 768);
        m_window->show();
        QApplication::processEvents();
    }

    void showLog(bool shown) {
        QCheckBox *box = m_window->ui().chbFileVisibility;
        if (box->isChecked() != shown)
            box->click();
        QApplication::processEvents();
    }

    void save() {
        m_window->actions().actFileSaveTo->trigger();
        // The log's layout and repaint are part of what the user waits for.
        QApplication::processEvents();
    }

    qint64 fileSize() const { return QFileInfo(m_dir.filePath(QStringLiteral("run.csv"))).size(); }

private:
    // Readings that differ from cell to cell, as the decoder writes them.
    void fillTable(int rows, int cols) {
        TCSVTable &table = m_window->engine().csvTable();
        table.SetTableSize(rows, cols);
        for (int c = 0; c < cols; ++c)
            table.SetColHeader(100 * (c + 1), c);
        for (int r = 0; r < rows; ++r)
            table.SetRowHeader(r, -50.0 + r * 0.01, kComma);
        TIMPacket im;
        im.MainName = QStringLiteral("Cp");
        im.SecName = QStringLiteral("D");
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const int n = r * cols + c;
                im.MainBase = numfmt::general((10000 + n % 90000) * 1e-13, kComma);
                im.SecBase = numfmt::general((n % 99999) * 1e-6, kComma);
                StoreReading(table, im, c, r);
            }
        }
        table.SetHeaderInfo(QStringLiteral("A 100kOm"), QStringLiteral("1,00V"),
                            QStringLiteral("0,00V"));
    }

    QTemporaryDir m_dir;
    SavePrompts m_prompts{m_dir.filePath(QStringLiteral("run.csv"))};
    std::unique_ptr<TestWindow> m_window;
};

void saveWithLog(benchmark::State &state, SaveBench &bench, bool logShown) {
    bench.showLog(logShown);
    for (auto _ : state)
        bench.save();
    state.counters["bytes"] = static_cast<double>(bench.fileSize());
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SaveBench bench;
    benchmark::RegisterBenchmark("SaveCommand/20cols/logHidden", saveWithLog, std::ref(bench),
                                 false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SaveCommand/20cols/logShown", saveWithLog, std::ref(bench), true)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
