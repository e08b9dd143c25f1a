// A port this user may not open, as the window shows it: the automatic connection failing on
// it at every tick tells the user once what to do, the port lists mark it, and choosing such a
// port tells once too. Root opens every device, so the window runs in a copy of this test
// started as the unprivileged user "nobody" through setpriv, on devices root prepared.
#include "test_window.h"
#include "control/port_access_notice.h"
#include "engine/run_engine.h"
#include "instruments_support.h"
#include "pty_port.h"
#include "serial/ser_com_port.h"
#include "ui/port_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Set in the copy run as "nobody": two devices of the group dialout, one per line.
const char kDevicesVar[] = "TAMREL_TEST_DENIED_DEVICES";

void checkAsUnprivileged(const QStringList &devices) {
    ASSERT_NE(::geteuid(), 0u);
    ASSERT_EQ(devices.size(), 2);
    SimulatedBench bench;
    ASSERT_TRUE(QFile::link(devices[0], bench.folder() + "/ports/COM5"));
    ASSERT_TRUE(QFile::link(devices[1], bench.folder() + "/ports/COM6"));
    bench.writeSettings();
    TMainOptions options = bench.windowOptions();
    {
        QFile file(options.settingsPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[general]\r\nPortIMNumber=COM5\r\nPortTempNumber=COM4\r\n");
    }
    TestWindow window(options);
    const auto notices = [&] { return bench.prompts().notices(); };
    int ticks = 0;
    QObject::connect(window.timers().tmrAutoconnectToDevice, &QTimer::timeout, [&] { ++ticks; });
    window.show();

    ASSERT_TRUE(waitUntil([&] { return ticks >= 4; }, 4000));
    EXPECT_EQ(notices(), QStringList{NoPermissionAdvice("COM5", devices[0])})
        << "one notice however many ticks fail";
    EXPECT_TRUE(notices().value(0).contains("sudo usermod -aG dialout nobody"));
    EXPECT_FALSE(window.portIM()->isOpen());
    EXPECT_TRUE(window.portTemp()->isOpen());
    EXPECT_FALSE(window.engine().portsOpen());

    const MainWindowUi &ui = window.ui();
    ui.chbComPortAndLogVisibility->click();
    QComboBox *temp = ui.cmbPortTempNumber;
    for (const char *name : {"COM3", "COM4", "COM5", "COM6"}) {
        const int i = temp->findText(name);
        ASSERT_GE(i, 0) << name << " is listed";
        const bool denied = QByteArray(name) == "COM5" || QByteArray(name) == "COM6";
        EXPECT_EQ(!PortItemAdvice(temp, i).isEmpty(), denied) << name;
        EXPECT_EQ(!temp->itemIcon(i).isNull(), denied) << name << " is marked";
        EXPECT_EQ(temp->itemData(i, Qt::ToolTipRole).toString(), PortItemAdvice(temp, i));
    }

    emit temp->activated(temp->findText("COM6"));
    emit temp->activated(temp->findText("COM6"));
    emit ui.cmbPortIMNumber->activated(ui.cmbPortIMNumber->findText("COM5"));
    emit temp->activated(temp->findText("COM3"));
    EXPECT_EQ(notices(), (QStringList{NoPermissionAdvice("COM5", devices[0]),
                                      NoPermissionAdvice("COM6", devices[1])}));
    for (QTimer *timer : window.findChildren<QTimer *>())
        timer->stop();
}

bool giveToDialout(const QString &path, gid_t dialout) {
    const QByteArray p = QFile::encodeName(path);
    return ::chown(p.constData(), 0, dialout) == 0 && ::chmod(p.constData(), 0660) == 0;
}

TEST(PortAccessWindow, APortTheUserMayNotOpenIsExplainedOnceAndMarkedInTheLists) {
    const QString given = qEnvironmentVariable(kDevicesVar);
    if (!given.isEmpty()) {
        checkAsUnprivileged(given.split('\n'));
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device this user may not open needs root (chown), and the "
                        "window then runs as user nobody";
    const group *dialout = ::getgrnam("dialout");
    if (!dialout)
        GTEST_SKIP() << "this system has no group dialout";

    PtyPort first, second;
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    ASSERT_TRUE(giveToDialout(first.slavePath(), dialout->gr_gid));
    ASSERT_TRUE(giveToDialout(second.slavePath(), dialout->gr_gid));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kDevicesVar, first.slavePath() + '\n' + second.slavePath());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("XDG_RUNTIME_DIR");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv",
                {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                 QCoreApplication::applicationFilePath(), "--gtest_filter=PortAccessWindow.*"});
    if (!child.waitForStarted(10000))
        GTEST_SKIP() << "cannot run as user nobody through setpriv: "
                     << child.errorString().toStdString();
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
