#include "pty_support.h"

#include "serial/port_names.h"
#include "serial/ser_com_port.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ComDevicePath, NumbersWithoutALinkMapToFixedDeviceRanges) {
    PortsFolder ports;
    const struct {
        int n;
        const char *path;
    } cases[] = {
        {1, "/dev/ttyS0"},
        {32, "/dev/ttyS31"},
        {33, "/dev/ttyUSB0"},
        {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"},
        {96, "/dev/ttyACM31"},
        {97, ""},
        {0, ""},
        {-1, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ComDevicePath(c.n, ports.path()), QString::fromLatin1(c.path)) << "COM" << c.n;
}

TEST(ComDevicePath, ALinkInThePortsFolderNamesTheDevice) {
    PtyPair pty;
    PortsFolder ports;
    ASSERT_TRUE(ports.link(1, pty.slavePath()));
    ASSERT_TRUE(ports.link(150, ports.missingDevice()));
    EXPECT_EQ(ComDevicePath(1, ports.path()), pty.slavePath());
    EXPECT_EQ(ComDevicePath(150, ports.path()), ports.missingDevice());
}

TEST(ComDevicePath, DefaultPortsFolderIsBesideTheProgram) {
    EXPECT_EQ(defaultPortsFolder(), QCoreApplication::applicationDirPath() + "/ports");
}

// COM1 free, COM4 held by an open port, the rest missing; every number has a link so that
// the machine's own serial devices stay out of the result.
TEST(ProbePort, FindsFreeAndHeldPortsAndNeverKeepsOneOpen) {
    PtyPair free, held;
    PortsFolder ports;
    for (int n = 1; n <= 6; ++n)
        ASSERT_TRUE(ports.link(n, n == 1   ? free.slavePath()
                                  : n == 4 ? held.slavePath()
                                           : ports.missingDevice()));
    TSerComPort holder;
    holder.setPortsFolder(ports.path());
    holder.setComNumber(4);
    holder.setOpen(true);

    EXPECT_FALSE(ProbePort(0, ports.path()));
    EXPECT_TRUE(ProbePort(1, ports.path()));
    EXPECT_TRUE(ProbePort(4, ports.path()));
    EXPECT_FALSE(ProbePort(2, ports.path()));
    EXPECT_EQ(ProbePorts(ports.path(), 6), (QStringList{"COM1", "COM4"}));

    TSerComPort port;
    port.setPortsFolder(ports.path());
    port.setComNumber(1);
    EXPECT_NO_THROW(port.setOpen(true)) << "the probe left the port held";
    EXPECT_TRUE(holder.isOpen());
}

// Another process holds the port: the probe finds it, opening it is refused, and once the
// holder is gone the port opens.
TEST(ProbePort, APortHeldByAnotherProcessIsPresentButCannotBeOpened) {
    PtyPair pty;
    PortsFolder ports;
    ASSERT_TRUE(ports.link(5, pty.slavePath()));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QSerialPort other;
        other.setPortName(pty.slavePath());
        const char opened = other.open(QIODevice::ReadWrite) ? '1' : '0';
        (void)!write(ready[1], &opened, 1);
        pause();
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(read(ready[0], &opened, 1), 1);
    ASSERT_EQ(opened, '1');

    EXPECT_TRUE(ProbePort(5, ports.path()));
    TSerComPort port;
    port.setPortsFolder(ports.path());
    port.setComNumber(5);
    EXPECT_THROW(port.setOpen(true), EAlreadyOpen);
    EXPECT_FALSE(port.isOpen());

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_NO_THROW(port.setOpen(true));
    EXPECT_TRUE(port.isOpen());
}

} // namespace
