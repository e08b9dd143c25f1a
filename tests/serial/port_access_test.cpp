// A serial device that exists but that this user may not open: told apart from a missing and
// from a held one, and the reason found. Root opens every device, so the checks run in a copy of
// this test started as the unprivileged user "nobody" through setpriv.
#include "pty_support.h"

#include "serial/platform.h"
#include "serial/port_names.h"
#include "serial/ser_com_port.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Set in the copy run as "nobody": the ports folder the parent prepared.
const char kPortsVar[] = "TAMREL_TEST_DENIED_PORTS";

// In the ports folder the parent makes: COM1 a device of the group dialout (rw for the
// group), COM2 one only root may open, COM3 one open to everyone, COM4 a missing device.
void checkAsUnprivileged(const QString &folder) {
    ASSERT_NE(::geteuid(), 0u);
    const QString groupDevice = ComDevicePath(1, folder);
    const QString rootDevice = ComDevicePath(2, folder);

    EXPECT_EQ(ProbePortState(1, folder), PortState::NoPermission);
    EXPECT_EQ(ProbePortState(2, folder), PortState::NoPermission);
    EXPECT_EQ(ProbePortState(3, folder), PortState::Free);
    EXPECT_EQ(ProbePortState(4, folder), PortState::Missing);
    EXPECT_FALSE(ProbePort(1, folder)) << "no port for this program";

    const QList<PortProbe> listed = ProbePortStates(folder, 4);
    ASSERT_EQ(listed.size(), 3) << "a device the user may not open is still listed";
    EXPECT_EQ(listed[0].number, 1);
    EXPECT_EQ(listed[0].devicePath, groupDevice);
    EXPECT_EQ(listed[0].state, PortState::NoPermission);
    EXPECT_EQ(ProbePorts(folder, 4), QStringList{"COM3"});

    TSerComPort port;
    port.setPortsFolder(folder);
    port.setComNumber(1);
    try {
        port.setOpen(true);
        ADD_FAILURE() << "opened a device the user may not open";
    } catch (const ENoPermission &e) {
        EXPECT_EQ(e.devicePath(), groupDevice);
        EXPECT_EQ(e.code(), EAlreadyOpen::Code) << "still an access denied for other callers";
    }
    EXPECT_FALSE(port.isOpen());

    EXPECT_EQ(platform::noPermissionReason(groupDevice),
              (PortAccessReason{PortAccessReason::JoinGroup, "dialout", "nobody"}));
    EXPECT_EQ(platform::noPermissionReason(rootDevice).kind, PortAccessReason::AskAdministrator)
        << "joining root's group is no advice";
}

bool setOwner(const QString &path, gid_t group, mode_t mode) {
    const QByteArray p = QFile::encodeName(path);
    return ::chown(p.constData(), 0, group) == 0 && ::chmod(p.constData(), mode) == 0;
}

TEST(PortAccess, ADeviceTheUserMayNotOpenIsListedMarkedAndExplained) {
    const QString given = qEnvironmentVariable(kPortsVar);
    if (!given.isEmpty()) {
        checkAsUnprivileged(given);
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device this user may not open needs root (chown), and the "
                        "check then runs as user nobody";
    const group *dialout = ::getgrnam("dialout");
    if (!dialout)
        GTEST_SKIP() << "this system has no group dialout";

    PtyPair groupDevice, rootDevice, openDevice;
    PortsFolder ports;
    ASSERT_TRUE(setOwner(groupDevice.slavePath(), dialout->gr_gid, 0660));
    ASSERT_TRUE(setOwner(rootDevice.slavePath(), 0, 0600));
    ASSERT_TRUE(setOwner(openDevice.slavePath(), 0, 0666));
    ASSERT_TRUE(ports.link(1, groupDevice.slavePath()));
    ASSERT_TRUE(ports.link(2, rootDevice.slavePath()));
    ASSERT_TRUE(ports.link(3, openDevice.slavePath()));
    ASSERT_TRUE(ports.link(4, ports.missingDevice()));
    ASSERT_EQ(::chmod(QFile::encodeName(ports.path()).constData(), 0755), 0);
    EXPECT_EQ(ProbePortState(1, ports.path()), PortState::Free) << "root may open it";

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kPortsVar, ports.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                            QCoreApplication::applicationFilePath(),
                            "--gtest_filter=PortAccess.ADeviceTheUserMayNotOpenIsListedMarked*"});
    if (!child.waitForStarted(10000))
        GTEST_SKIP() << "cannot run as user nobody through setpriv: "
                     << child.errorString().toStdString();
    ASSERT_TRUE(child.waitForFinished(30000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
