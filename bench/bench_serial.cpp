// Throughput of the serial component: a feeder thread writes into a pseudo-terminal as fast
// as it can, and an OnTriggerAvail handler on the event loop takes every byte it is told of.
// Prints delivered bytes per second and CPU time per delivered byte.
//
//   bench_serial [seconds]   (default 3)
#include "serial/ser_com_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Writes the byte sequence 0, 1, 2, ... (mod 256) until told to stop.
void feed(int master, const std::atomic<bool> &stop, std::atomic<quint64> &written) {
    char chunk[4096];
    quint64 next = 0;
    int pending = 0;
    int offset = 0;
    while (!stop.load(std::memory_order_relaxed)) {
        if (pending == 0) {
            for (char &c : chunk)
                c = char(next++ & 0xFF);
            pending = sizeof chunk;
            offset = 0;
        }
        pollfd pfd{master, POLLOUT, 0};
        if (poll(&pfd, 1, 50) <= 0)
            continue;
        const ssize_t n = ::write(master, chunk + offset, size_t(pending));
        if (n > 0) {
            pending -= int(n);
            offset += int(n);
            written += quint64(n);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    QTemporaryDir ports;
    QFile::link(QString::fromLocal8Bit(ptsname(master)), ports.path() + "/COM1");

    TSerComPort port;
    port.setPortsFolder(ports.path());
    port.setComNumber(1);
    port.setBaud(115200);
    try {
        port.setOpen(true);
    } catch (const ESerException &e) {
        std::fprintf(stderr, "open: %s\n", e.what());
        return 1;
    }

    quint64 delivered = 0;
    quint64 notifications = 0;
    quint64 outOfOrder = 0;
    port.setOnTriggerAvail([&](TSerComPort *cp, quint16 count) {
        static char buf[TSerReceiveRing::Size];
        cp->ReadBlock(buf, count);
        for (int i = 0; i < count; ++i)
            outOfOrder += quint8(buf[i]) != quint8((delivered + quint64(i)) & 0xFF);
        delivered += count;
        ++notifications;
    });

    std::atomic<bool> stop{false};
    std::atomic<quint64> written{0};
    const double processCpu0 = cpuSeconds(RUSAGE_SELF);
    const double threadCpu0 = cpuSeconds(RUSAGE_THREAD);
    QElapsedTimer wall;
    wall.start();
    std::thread feeder(feed, master, std::cref(stop), std::ref(written));

    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const double threadCpu = cpuSeconds(RUSAGE_THREAD) - threadCpu0;
    stop = true;
    feeder.join();
    const double processCpu = cpuSeconds(RUSAGE_SELF) - processCpu0;
    port.setOpen(false);
    ::close(master);

    const double perByte = delivered ? 1e9 / double(delivered) : 0.0;
    std::printf("seconds                      %.2f\n", elapsed);
    std::printf("bytes written by the feeder  %llu\n", (unsigned long long)written.load());
    std::printf("bytes delivered to handler   %llu\n", (unsigned long long)delivered);
    std::printf("bytes out of order           %llu\n", (unsigned long long)outOfOrder);
    std::printf("notifications                %llu (%.0f bytes each)\n",
                (unsigned long long)notifications,
                notifications ? double(delivered) / double(notifications) : 0.0);
    std::printf("delivered bytes per second   %.0f\n", double(delivered) / elapsed);
    std::printf("process CPU per byte         %.1f ns (%.2f s in all)\n", processCpu * perByte,
                processCpu);
    std::printf("event-loop thread CPU / byte %.1f ns (%.2f s in all)\n", threadCpu * perByte,
                threadCpu);
    return outOfOrder == 0 ? 0 : 1;
}
