// CPU the whole program spends on its two lines, as the user runs it: the main
// window shown, both links open, the display refresh and the watchdogs on
// their own timers. A writer process pushes meter frames at a fixed rate (523
// a second fill a 115 200-baud line) and one thermometer line a second onto
// pseudo-terminals; the figure is the program's CPU time over the measuring
// time, in percent of one core. The writer's own CPU is not counted.
//
//   bench_links_cpu [--logs] [seconds [frames-per-second ...]]
//
// Without rates it measures a meter's most on its 9600-baud line (43.6/s), the
// meter's usual pace (2.5/s) and, as a record, a saturated 115 200-baud line
// (523/s), each for `seconds` (60 unless given). With --logs the device logs
// are shown, as the check box of the port settings shows them.
#include "gui/test_window.h"
#include "control/meter_link.h"
#include "control/thermo_link.h"
#include "engine/run_engine.h"
#include "meter_frame.h"
#include "model/event_store.h"
#include "pty_port.h"
#include "serial/platform.h"
#include "serial/ser_com_port.h"
#include "thermo_line.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMeterPort = 3;
constexpr int kThermoPort = 4;
constexpr double kSaturatedRate = 523.0;
// 22-byte frames of ten bits a byte on a 9600-baud line.
constexpr double kMeterLineRate = 9600.0 / 220.0;
constexpr double kUsualRate = 2.5;
// The window is shown and the links settle before the clock starts.
constexpr int kSettleMs = 2000;
constexpr long kNanosPerSecond = 1000000000L;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Readings that change from frame to frame, as a meter's last digits do.
std::vector<QByteArray> meterFrames() {
    std::vector<QByteArray> frames;
    for (int n = 0; n < 1000; ++n) {
        MeterDisplayState s;
        s.main = {int32_t(10000 + n), 244};
        s.secondary = {int32_t(50 + n % 7), 250};
        frames.push_back(EncodeMeterFrame(s));
    }
    return frames;
}

std::vector<QByteArray> thermometerLines() {
    std::vector<QByteArray> lines;
    for (int n = 0; n < 100; ++n)
        lines.push_back(MakeThermometerLine(20.0 + n / 100.0));
    return lines;
}

void addNanos(timespec &t, long nanos) {
    t.tv_nsec += nanos;
    while (t.tv_nsec >= kNanosPerSecond) {
        t.tv_nsec -= kNanosPerSecond;
        ++t.tv_sec;
    }
}

bool before(const timespec &a, const timespec &b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// The writer: paced by absolute deadlines so that the rate holds whatever a
// write costs. It only makes system calls on bytes prepared before the fork
// (PtyPort::write is a plain write on the master), so it is safe in the child
// of a process with threads. A backlog the program does not read in time is
// dropped by the pseudo-terminal port, as a serial line overruns.
[[noreturn]] void runWriter(PtyPort &meterLine, PtyPort &thermoLine,
                            const std::vector<QByteArray> &frames,
                            const std::vector<QByteArray> &lines, double rate) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const long period = long(kNanosPerSecond / rate);
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    timespec nextLine = next;
    size_t frame = 0;
    size_t line = 0;
    for (;;) {
        addNanos(next, period);
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        meterLine.write(frames[frame++ % frames.size()]);
        if (!before(next, nextLine)) {
            thermoLine.write(lines[line++ % lines.size()]);
            addNanos(nextLine, kNanosPerSecond);
        }
    }
}

int newestIndex(const TMyStorage &store, uint8_t kind) {
    TEventRec E;
    return store.GetLast(kind, E) ? E.Index : -1;
}

// Runs the event loop for `ms` milliseconds.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Measured {
    double cpu = 0;
    double wall = 0;
    int frames = 0;
    int lines = 0;
};

struct Writer {
    PtyPort &meterLine;
    PtyPort &thermoLine;
    std::vector<QByteArray> frames;
    std::vector<QByteArray> lines;
};

Measured measure(TestWindow &window, Writer &w, double rate, double seconds) {
    const pid_t writer = fork();
    if (writer == 0)
        runWriter(w.meterLine, w.thermoLine, w.frames, w.lines, rate);

    runFor(kSettleMs);
    const TMyStorage &store = window.engine().store();
    const int firstFrame = newestIndex(store, kMeterRecord);
    const int firstLine = newestIndex(store, kTempRecord);
    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(int(seconds * 1000));
    Measured m;
    m.cpu = cpuSeconds() - cpuStart;
    m.wall = wall.elapsed() / 1000.0;
    m.frames = newestIndex(store, kMeterRecord) - firstFrame;
    m.lines = newestIndex(store, kTempRecord) - firstLine;

    kill(writer, SIGTERM);
    waitpid(writer, nullptr, 0);
    runFor(kSettleMs);
    return m;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program starts.
    platform::readTheTimeZoneOnce();
    platform::keepLargeBlocksOutOfTheHeap();
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool logsShown = args.removeAll(QStringLiteral("--logs")) > 0;
    const double seconds = args.isEmpty() ? 60.0 : args.takeFirst().toDouble();
    std::vector<double> rates;
    for (const QString &rate : std::as_const(args))
        rates.push_back(rate.toDouble());
    if (rates.empty())
        rates = {kMeterLineRate, kUsualRate, kSaturatedRate};

    QTemporaryDir dir;
    const QString ports = dir.filePath(QStringLiteral("ports"));
    QDir().mkpath(ports);
    PtyPort meterLine;
    meterLine.setLinkPath(ports + QStringLiteral("/COM%1").arg(kMeterPort));
    PtyPort thermoLine;
    thermoLine.setLinkPath(ports + QStringLiteral("/COM%1").arg(kThermoPort));
    if (!meterLine.open() || !thermoLine.open()) {
        std::fprintf(stderr, "no pseudo-terminals: %s\n", qPrintable(meterLine.errorString()));
        return 1;
    }

    TMainOptions options;
    options.settingsPath = dir.filePath(QStringLiteral("options.ini"));
    options.portsFolder = ports;
    TestWindow window(options);
    // The links are opened here as the automatic connection opens them.
    window.timers().tmrAutoconnectToDevice->stop();
    window.portIM()->setComNumber(kMeterPort);
    window.portIM()->setBaud(115200);
    window.portIM()->setOpen(true);
    window.meterLink()->setLinkTimersEnabled(true);
    window.portTemp()->setComNumber(kThermoPort);
    window.portTemp()->setOpen(true);
    window.thermoLink()->setLinkTimersEnabled(true);
    window.show();
    if (logsShown)
        window.ui().chbComPortAndLogVisibility->click();

    std::printf("Program CPU with the window shown (%s), device logs %s, measured over %.0f s "
                "per rate\n",
                qPrintable(QGuiApplication::platformName()), logsShown ? "shown" : "hidden",
                seconds);
    Writer writer{meterLine, thermoLine, meterFrames(), thermometerLines()};
    for (const double rate : rates) {
        const Measured m = measure(window, writer, rate, seconds);
        std::printf("%7.1f frames/s written: %6d frames and %3d lines stored (%.1f frames/s), "
                    "CPU %5.2f %% of one core\n",
                    rate, m.frames, m.lines, m.frames / m.wall, 100.0 * m.cpu / m.wall);
        std::fflush(stdout);
    }

    window.portIM()->setOpen(false);
    window.portTemp()->setOpen(false);
    return 0;
}
