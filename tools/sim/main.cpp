// tamrel-sim: the meter and the thermometer on pseudo-terminals, for trying and
// testing the program without the instruments.
#include "settings/data_folder.h"
#include "sim_options.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

void say(const QString &text) {
    std::fputs(qPrintable(text + '\n'), stdout);
    std::fflush(stdout);
}

void sayError(const QString &text) {
    std::fputs(qPrintable(QStringLiteral("tamrel-sim: ") + text + '\n'), stderr);
}

QString portLine(const char *what, const SimInstrument &instrument) {
    return QStringLiteral("%1: %2 -> %3")
        .arg(QLatin1String(what), instrument.linkPath(), instrument.slavePath());
}

// What the operator needs to enter for the sample, and where its loss should peak.
QString dielectricLine(const RelaxingDielectric &d) {
    QStringList peaks;
    for (const int hz : {100, 1000, 10000, 100000})
        peaks << QStringLiteral("%1 Hz at %2 C").arg(hz).arg(d.peakTemperatureC(hz), 0, 'f', 1);
    return QStringLiteral("dielectric sample: C0 = %1 pF; eps'' peaks: %2")
        .arg(d.emptyCellPf)
        .arg(peaks.join(QStringLiteral(", ")));
}

// Lines typed on standard input become commands; end of input just stops listening.
class CommandReader : public QObject {
public:
    CommandReader(SimMeter *meter, SimThermometer *thermometer, QObject *parent)
        : QObject(parent), m_meter(meter), m_thermometer(thermometer),
          m_notifier(STDIN_FILENO, QSocketNotifier::Read, this) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &CommandReader::readInput);
    }

private:
    void readInput() {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            m_notifier.setEnabled(false);
            return;
        }
        m_pending.append(buffer, static_cast<int>(n));
        for (int end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            const QString line = QString::fromLocal8Bit(m_pending.left(end)).trimmed();
            m_pending.remove(0, end + 1);
            const QString reply = RunSimCommand(line, m_meter, m_thermometer);
            if (!reply.isEmpty())
                say(reply);
        }
    }

    SimMeter *m_meter;
    SimThermometer *m_thermometer;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

} // namespace

int main(int argc, char **argv) {
    // Started with a standard stream closed, the next descriptor opened (the signal
    // descriptor, a pseudo-terminal) would take its number.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) == -1)
            ::open("/dev/null", O_RDWR);

    // SIGINT and SIGTERM arrive through a descriptor, so the links are removed by the
    // normal shutdown on the event loop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamrel-sim"));

    SimProgramOptions options;
    QString message;
    // Where the program looks for them: beside it, or for an installed copy in the user's
    // configuration folder.
    const QString defaultPorts =
        QDir(ChooseDataFolder(QCoreApplication::applicationDirPath(), ProgramUserConfigFolder()))
            .filePath("ports");
    switch (ParseSimArguments(app.arguments(), defaultPorts, &options, &message)) {
    case SimArgumentsOutcome::Help:
        say(message);
        return 0;
    case SimArgumentsOutcome::Error:
        sayError(message);
        return 2;
    case SimArgumentsOutcome::Run:
        break;
    }
    if (!QDir().mkpath(options.portsDir)) {
        sayError(QStringLiteral("cannot make the folder %1").arg(options.portsDir));
        return 1;
    }

    std::unique_ptr<SimThermometer> thermometer;
    std::unique_ptr<SimMeter> meter;
    if (options.withThermometer) {
        thermometer = std::make_unique<SimThermometer>(options.thermometer);
        if (!thermometer->start()) {
            sayError(QStringLiteral("thermometer: ") + thermometer->errorString());
            return 1;
        }
        say(portLine("thermometer", *thermometer));
    }
    if (options.withMeter) {
        meter = std::make_unique<SimMeter>(options.meter);
        if (thermometer)
            meter->setTemperatureSource([t = thermometer.get()] { return t->trueTemperature(); });
        if (!meter->start()) {
            sayError(QStringLiteral("meter: ") + meter->errorString());
            return 1;
        }
        say(portLine("meter", *meter));
        // What the program pressed, so that a check (or a person) sees its keys arrive.
        QObject::connect(meter.get(), &SimMeter::keyReceived, &app,
                         [](quint8 key) { say(QStringLiteral("meter: key %1").arg(key)); });
        if (options.meter.dielectric)
            say(dielectricLine(*options.meter.dielectric));
    }

    for (const ScheduledFault &fault : options.faults) {
        auto *timer = new QTimer(&app);
        QObject::connect(timer, &QTimer::timeout, &app, [&, fault] {
            const QString error = ApplySimAction(fault.action, meter.get(), thermometer.get());
            const bool onMeter = fault.action.device == SimAction::Device::Meter;
            if (!error.isEmpty())
                sayError(error);
            else if (fault.action.kind == SimAction::Kind::Reopen)
                say(onMeter ? portLine("meter", *meter) : portLine("thermometer", *thermometer));
        });
        timer->start(fault.everyMs);
    }

    // Started in the background of a terminal, reading stdin must fail rather than stop
    // the instruments.
    std::signal(SIGTTIN, SIG_IGN);
    auto commands = std::make_unique<CommandReader>(meter.get(), thermometer.get(), &app);
    if (signalFd >= 0) {
        auto *stop = new QSocketNotifier(signalFd, QSocketNotifier::Read, &app);
        QObject::connect(stop, &QSocketNotifier::activated, &app, [signalFd] {
            signalfd_siginfo info{};
            if (::read(signalFd, &info, sizeof info) > 0)
                QCoreApplication::quit();
        });
    }
    say(QStringLiteral("running; type \"help\" for commands, Ctrl+C to stop"));
    const int code = app.exec();
    // The instruments remove their links as they close.
    commands.reset();
    meter.reset();
    thermometer.reset();
    return code;
}
