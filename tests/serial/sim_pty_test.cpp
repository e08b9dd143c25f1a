// The simulated instruments end to end: the test opens the pseudo-terminal the way the
// program does (through the COMn link) and talks to them with plain POSIX calls.
#include "freq_keys.h"
#include "sim_meter.h"
#include "sim_thermometer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool simWaitUntil(const std::function<bool()> &done, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ::usleep(2000);
    }
    return true;
}

// What the test needs of a frame, decoded by hand.
struct SeenFrame {
    int frequencyHz = 0;
    int marks = 0;
};

// The program's side of a simulated port.
class SerialEnd {
public:
    explicit SerialEnd(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~SerialEnd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    void write(const QByteArray &bytes) {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), bytes.size());
    }

    // Whatever has arrived; nothing when the other end hung up.
    QByteArray take() {
        char buf[512];
        ssize_t n;
        while ((n = ::read(m_fd, buf, sizeof buf)) > 0)
            m_pending.append(buf, static_cast<int>(n));
        QByteArray out = m_pending;
        m_pending.clear();
        return out;
    }

    bool hungUp() const {
        pollfd p{m_fd, POLLIN, 0};
        return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
    }

    // The next frame with a start byte and a good sum, skipping anything else.
    std::optional<SeenFrame> nextFrame(int timeoutMs = 3000) {
        std::optional<SeenFrame> found;
        simWaitUntil(
            [&] {
                m_frames += take();
                for (int p = m_frames.indexOf(char(0xAA)); p >= 0 && p + 22 <= m_frames.size();
                     p = m_frames.indexOf(char(0xAA), p + 1)) {
                    int sum = 0;
                    for (int i = 0; i < 21; ++i)
                        sum += uint8_t(m_frames[p + i]);
                    if (sum % 256 != uint8_t(m_frames[p + 21]))
                        continue;
                    const QByteArray f = m_frames.mid(p, 22);
                    m_frames.remove(0, p + 22);
                    const int factor = f[6] == 6 ? 1000000 : f[6] == 3 ? 1000 : 1;
                    found =
                        SeenFrame{(uint8_t(f[4]) | uint8_t(f[5]) << 8) * factor, uint8_t(f[20])};
                    return true;
                }
                return false;
            },
            timeoutMs);
        return found;
    }

    // The next complete thermometer line, without its line end.
    QByteArray nextLine(int timeoutMs = 3000) {
        QByteArray line;
        simWaitUntil(
            [&] {
                m_lines += take();
                const int cr = m_lines.indexOf('\r');
                if (cr < 0)
                    return false;
                line = m_lines.left(cr).trimmed();
                m_lines.remove(0, cr + 1);
                return true;
            },
            timeoutMs);
        return line;
    }

private:
    int m_fd;
    QByteArray m_pending, m_frames, m_lines;
};

SimMeterOptions fastMeter(const QTemporaryDir &dir) {
    SimMeterOptions o;
    o.frameMs = 20;
    o.linkPath = dir.filePath("COM3");
    return o;
}

} // namespace

TEST(SimMeterPty, KeysFromTheLineMoveTheFrequencyInLaterFrames) {
    QTemporaryDir dir;
    SimMeter meter(fastMeter(dir));
    ASSERT_TRUE(meter.start()) << qPrintable(meter.errorString());
    EXPECT_EQ(QFileInfo(meter.linkPath()).symLinkTarget(), meter.slavePath());

    SerialEnd port(meter.linkPath());
    ASSERT_TRUE(port.isOpen());
    const auto first = port.nextFrame();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->frequencyHz, 1000);
    EXPECT_EQ(first->marks, 0);

    port.write(QByteArray("\x0d\x01", 2)); // F3, then ">"
    std::optional<SeenFrame> later;
    ASSERT_TRUE(simWaitUntil([&] {
        later = port.nextFrame(100);
        return later && later->frequencyHz == 2000;
    }));
    EXPECT_EQ(later->marks & 4, 4);
    EXPECT_EQ(meter.keysReceived(), QByteArray("\x0d\x01", 2));

    port.write(QByteArray(1, char(simkey::Up)));
    ASSERT_TRUE(simWaitUntil([&] {
        later = port.nextFrame(100);
        return later && later->frequencyHz == 3000;
    }));
}

TEST(SimMeterPty, ReopenHangsUpTheOldEndAndMovesTheLink) {
    QTemporaryDir dir;
    SimMeter meter(fastMeter(dir));
    ASSERT_TRUE(meter.start());
    SerialEnd before(meter.linkPath());
    ASSERT_TRUE(before.nextFrame());
    const QString oldSlave = meter.slavePath();

    ASSERT_TRUE(meter.reopen()) << qPrintable(meter.errorString());
    EXPECT_NE(meter.slavePath(), oldSlave); // the old one is still held by `before`
    EXPECT_EQ(QFileInfo(meter.linkPath()).symLinkTarget(), meter.slavePath());
    EXPECT_TRUE(before.hungUp());

    SerialEnd after(meter.linkPath());
    EXPECT_TRUE(after.nextFrame());
}

TEST(SimMeterPty, SilenceSendsNothingAndLosesKeys) {
    QTemporaryDir dir;
    SimMeter meter(fastMeter(dir));
    ASSERT_TRUE(meter.start());
    SerialEnd port(meter.linkPath());
    ASSERT_TRUE(port.nextFrame());

    meter.setSilent(300);
    const int frames = meter.framesSent();
    port.write(QByteArray(1, char(simkey::F3)));
    ASSERT_TRUE(simWaitUntil([&] { return !meter.isSilent(); }));
    EXPECT_EQ(meter.framesSent(), frames);

    ASSERT_TRUE(simWaitUntil([&] { return meter.framesSent() >= frames + 2; }));
    EXPECT_TRUE(meter.keysReceived().isEmpty());
    EXPECT_FALSE(meter.model().f3On());
}

TEST(SimMeterPty, FramesNobodyReadsDoNotPileUp) {
    // A program that opens the port late must find current frames, not minutes of old
    // ones, and the instrument must not jam when nobody listens.
    QTemporaryDir dir;
    SimMeterOptions o = fastMeter(dir);
    o.frameMs = 10;
    SimMeter meter(o);
    ASSERT_TRUE(meter.start());
    ASSERT_TRUE(simWaitUntil([&] { return meter.framesSent() >= 60; }));

    SerialEnd port(meter.linkPath());
    EXPECT_LT(port.take().size(), 10 * 22);
    const int frames = meter.framesSent();
    EXPECT_TRUE(simWaitUntil([&] { return meter.framesSent() > frames; }));
}

// The serial port component takes the port in exclusive mode; a program killed
// (kill -9) cannot give it back, and on a pseudo-terminal the mode outlives it. Only
// root may open a port in that mode, so the next start of the program as a user would
// find its instrument busy until the simulator was restarted.
TEST(SimMeterPty, APortAKilledProgramHeldExclusivelyOpensAgain) {
    QTemporaryDir dir;
    SimMeterOptions o = fastMeter(dir);
    o.frameMs = 10;
    SimMeter meter(o);
    ASSERT_TRUE(meter.start());
    // Opened before the mode is set, it reads the mode as any user may.
    SerialEnd watcher(meter.linkPath());
    const auto exclusive = [&] {
        int on = -1;
        EXPECT_EQ(::ioctl(watcher.fd(), TIOCGEXCL, &on), 0);
        return on != 0;
    };
    {
        SerialEnd killed(meter.linkPath());
        ASSERT_TRUE(killed.nextFrame());
        ASSERT_EQ(::ioctl(killed.fd(), TIOCEXCL), 0);
    }
    ASSERT_TRUE(exclusive());
    EXPECT_TRUE(simWaitUntil([&] { return !exclusive(); }));
}

TEST(SimMeterPty, BadChecksumFramesAndNoiseGoOutAsAsked) {
    QTemporaryDir dir;
    SimMeterOptions o = fastMeter(dir);
    o.frameMs = 60000; // no regular frame gets in between
    SimMeter meter(o);
    ASSERT_TRUE(meter.start());
    SerialEnd port(meter.linkPath());

    meter.sendBadChecksumFrame();
    QByteArray bytes;
    ASSERT_TRUE(simWaitUntil([&] { return (bytes += port.take()).size() >= 22; }));
    ASSERT_EQ(bytes.size(), 22);
    EXPECT_EQ(uint8_t(bytes[0]), 0xAA);
    int sum = 0;
    for (int i = 0; i < 21; ++i)
        sum += uint8_t(bytes[i]);
    EXPECT_EQ(uint8_t(bytes[21]), (sum + 1) % 256);

    meter.sendNoise(5);
    bytes.clear();
    ASSERT_TRUE(simWaitUntil([&] { return (bytes += port.take()).size() >= 5; }));
    EXPECT_EQ(bytes.size(), 5);
}

TEST(SimThermometerPty, SendsCheckedLinesWithTheProgrammesTemperature) {
    QTemporaryDir dir;
    SimThermometerOptions o;
    o.lineMs = 20;
    o.programme = TemperatureProgramme::hold(36.6);
    o.linkPath = dir.filePath("COM4");
    SimThermometer thermo(o);
    ASSERT_TRUE(thermo.start());
    SerialEnd port(thermo.linkPath());

    const QByteArray line = port.nextLine();
    ASSERT_TRUE(line.startsWith("$DS1820,1,OK,")) << line.constData();
    EXPECT_EQ(line.split(',').value(4), "36.60");
    unsigned char x = 0;
    for (char c : line.mid(1, line.indexOf('*') - 1))
        x ^= static_cast<unsigned char>(c);
    EXPECT_EQ(line.mid(line.indexOf('*') + 1),
              QByteArray::number(x, 16).rightJustified(2, '0').toUpper());

    thermo.sendFaultyLine(ThermoLineFault::NonNumeric);
    ASSERT_TRUE(simWaitUntil([&] { return port.nextLine(100).split(',').value(4) == "--.--"; }));
}

TEST(SimPorts, LinksAreRemovedOnStopAndForeignFilesAreNotReplaced) {
    QTemporaryDir dir;
    {
        SimMeter meter(fastMeter(dir));
        ASSERT_TRUE(meter.start());
        ASSERT_TRUE(QFileInfo(meter.linkPath()).isSymLink());
        meter.stop();
        EXPECT_FALSE(QFileInfo::exists(meter.linkPath()));
        ASSERT_TRUE(meter.start());
    }
    EXPECT_FALSE(QFileInfo(dir.filePath("COM3")).isSymLink()); // gone with the object

    // A stale link from a crashed run is replaced; a real file is left alone.
    ASSERT_TRUE(QFile::link("/nonexistent", dir.filePath("COM3")));
    {
        SimMeter meter(fastMeter(dir));
        ASSERT_TRUE(meter.start()) << qPrintable(meter.errorString());
    }
    QFile file(dir.filePath("COM3"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    SimMeter meter(fastMeter(dir));
    EXPECT_FALSE(meter.start());
    EXPECT_FALSE(meter.errorString().isEmpty());
    EXPECT_EQ(QFileInfo(dir.filePath("COM3")).size(), 4);
}
