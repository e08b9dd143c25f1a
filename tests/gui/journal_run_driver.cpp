// The program's own window, built from the same libraries, driven over its
// standard input so that a test can run it as a process of its own and kill
// it mid-run: "start", "stop" and "save <file>". It reports on its standard
// output: "ready" once both instruments answer, "started", "stopped",
// "saved <file>" and "reading <row> <column>" for every reading it records
// and journals ("unwritten <row> <column>" if the journal could not take it).
//   journal_run_driver <settings file> <ports folder>
#include "test_window.h"
#include "common/scripted_prompts.h"
#include "control/journal_controller.h"
#include "control/reading_capture.h"
#include "control/save_command.h"
#include "engine/run_engine.h"

#include <QAction>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <settings file> <ports folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TMainOptions options;
    options.settingsPath = QString::fromLocal8Bit(argv[1]);
    options.portsFolder = QString::fromLocal8Bit(argv[2]);
    options.decimalSeparator = QLatin1Char(',');
    options.timerDivisor = 10;
    ScriptedPrompts prompts;
    prompts.onNotice = [](const ScriptedPrompts::Ask &ask) {
        say(QStringLiteral("error ") + ask.text);
    };
    options.prompts = &prompts;
    TestWindow window(options);

    // A reading is reported once the journal has tried to write it (the
    // journal took it first, being connected when the window was built), so
    // that a kill after the report finds it on disk.
    QObject::connect(window.readingCapture(), &TReadingCapture::readingRecorded, &window,
                     [&window](const TJournalReading &r) {
                         if (window.journal()->waitingWrites() == 0)
                             say(QStringLiteral("reading %1 %2").arg(r.Row).arg(r.Col));
                         else
                             say(QStringLiteral("unwritten %1 %2").arg(r.Row).arg(r.Col));
                     });
    QString &saveTo = prompts.saveAs;

    QTimer readyCheck;
    QObject::connect(&readyCheck, &QTimer::timeout, &window, [&] {
        if (window.engine().portsOpen() && window.actions().actStart->isEnabled()) {
            readyCheck.stop();
            say(QStringLiteral("ready"));
        }
    });
    readyCheck.start(10);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        for (const QByteArray &line : QByteArray(buffer, int(n)).split('\n')) {
            if (line == "start") {
                window.actions().actStart->trigger();
                say(window.engine().isRunning() ? QStringLiteral("started")
                                                : QStringLiteral("not started"));
            } else if (line == "stop") {
                window.actions().actStop->trigger();
                say(QStringLiteral("stopped"));
            } else if (line.startsWith("save ")) {
                saveTo = QString::fromLocal8Bit(line.mid(5));
                window.actions().actFileSaveTo->trigger();
                say(QStringLiteral("saved ") + saveTo);
            }
        }
    });
    return app.exec();
}
