// Soak of both links in a whole main window: a day's worth of meter frames
// (216 000, one every 400 ms) and thermometer lines (86 400, one a second)
// pushed through pseudo-terminals as fast as the port component delivers them,
// or as many as fit in the time limit. Prints the CPU time per frame and the
// resident memory along the way, which must stay flat: the event store keeps a
// bounded history and the logs a bounded number of lines.
//
//   bench_links_soak [frames [seconds]]
#include "gui/test_window.h"
#include "engine/run_engine.h"
#include "meter_frame.h"
#include "model/event_store.h"
#include "pty_port.h"
#include "serial/platform.h"
#include "serial/ser_com_port.h"
#include "thermo_line.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int kMeterPort = 3;
constexpr int kThermoPort = 4;
// A day: a frame every 400 ms, a line every second.
constexpr long kDayFrames = 216000;
constexpr double kLinesPerFrame = 86400.0 / 216000.0;

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int newestIndex(const TMyStorage &store, uint8_t kind) {
    TEventRec E;
    return store.GetLast(kind, E) ? E.Index : -1;
}

// Runs events until the store holds a newer record of `kind` than `index`.
bool waitForRecord(const TMyStorage &store, uint8_t kind, int index) {
    QDeadlineTimer deadline(5000);
    while (newestIndex(store, kind) == index) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

QByteArray meterFrame(long n) {
    MeterDisplayState s;
    s.main = {int32_t(10000 + n % 1000), 244};
    s.secondary = {int32_t(50 + n % 7), 250};
    return EncodeMeterFrame(s);
}

void printRow(const char *label, long frames, long lines, double cpu, double wall) {
    std::printf("%-10s frames %7ld  lines %6ld  VmRSS %7ld KiB", label, frames, lines,
                residentKiB());
    if (frames > 0)
        std::printf("  CPU %6.1f us/frame  wall %6.1f us/frame", cpu / frames * 1e6,
                    wall / frames * 1e6);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program starts.
    platform::keepLargeBlocksOutOfTheHeap();
    QApplication app(argc, argv);
    const long frameTarget = argc > 1 ? std::atol(argv[1]) : kDayFrames;
    const double secondsLimit = argc > 2 ? std::atof(argv[2]) : 60.0;

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
    options.decimalSeparator = QLatin1Char(',');
    // The refreshes come when the soak says, on a clock it moves.
    ManualRunClock clock;
    options.engineClock = &clock;
    TestWindow window(options);
    window.timers().tmrAutoconnectToDevice->stop();
    window.portIM()->setComNumber(kMeterPort);
    window.portIM()->setOpen(true);
    window.portTemp()->setComNumber(kThermoPort);
    window.portTemp()->setOpen(true);
    RunEngine &engine = window.engine();
    const TMyStorage &store = engine.store();
    engine.setLinkOpen(LinkKind::Meter, true);
    engine.setLinkOpen(LinkKind::Thermometer, true);
    const auto refresh = [&] {
        clock.advance(engine.periods().DisplayRefreshMs);
        engine.advance();
    };

    std::printf("Soak of both links: up to %ld frames and %.0f lines in %.0f s\n", frameTarget,
                frameTarget * kLinesPerFrame, secondsLimit);
    printRow("start", 0, 0, 0, 0);

    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    long frames = 0;
    long lines = 0;
    long nextReport = 1;
    long firstResident = 0;
    while (frames < frameTarget && wall.elapsed() < secondsLimit * 1000) {
        const int meterIndex = newestIndex(store, kMeterRecord);
        meterLine.write(meterFrame(frames));
        if (!waitForRecord(store, kMeterRecord, meterIndex)) {
            std::fprintf(stderr, "frame %ld was not stored\n", frames);
            return 1;
        }
        ++frames;
        // The refresh that runs in the pause after a frame.
        refresh();

        if (long(frames * kLinesPerFrame) > lines) {
            const int tempIndex = newestIndex(store, kTempRecord);
            thermoLine.write(MakeThermometerLine(20.0 + (lines % 100) / 100.0));
            if (!waitForRecord(store, kTempRecord, tempIndex)) {
                std::fprintf(stderr, "line %ld was not stored\n", lines);
                return 1;
            }
            ++lines;
            refresh();
        }

        if (frames == nextReport) {
            // What a day may add is measured from the first frame on: the
            // window's own start-up and the first decoding come before it.
            if (frames == 1)
                firstResident = residentKiB();
            printRow(frames == 1      ? "first"
                     : frames == 5000 ? "warm"
                                      : "running",
                     frames, lines, cpuSeconds() - cpuStart, wall.elapsed() / 1000.0);
            nextReport = frames == 1 ? 5000 : frames < 50000 ? 50000 : frames + 50000;
        }
    }
    printRow("end", frames, lines, cpuSeconds() - cpuStart, wall.elapsed() / 1000.0);
    std::printf("resident growth since the first frame: %ld KiB\n", residentKiB() - firstResident);
    std::printf("held: %d meter and %d thermometer records; log lines: %d meter, %d thermometer\n",
                store.heldCount(kMeterRecord), store.heldCount(kTempRecord),
                window.ui().reLogIM->blockCount(), window.ui().reLogTemp->blockCount());

    window.portIM()->setOpen(false);
    window.portTemp()->setOpen(false);
    return 0;
}
