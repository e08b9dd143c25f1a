// Where the program keeps options.ini, the journal and the ports folder: beside itself when
// it may write there, in the user's configuration folder otherwise.
#include "settings/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace {

// Set in the copy of this suite that the read-only test runs as an unprivileged user.
const char kReadOnlyFolderVar[] = "TAMREL_TEST_READ_ONLY_FOLDER";

TEST(DataFolder, AWritableProgramFolderKeepsTheFilesBesideTheProgram) {
    QTemporaryDir program;
    EXPECT_TRUE(IsFolderWritable(program.path()));
    EXPECT_EQ(ChooseDataFolder(program.path(), "/elsewhere"), program.path());
    EXPECT_TRUE(QDir(program.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty())
        << "the check leaves nothing behind";
}

TEST(DataFolder, AMissingProgramFolderIsNotWritable) {
    QTemporaryDir parent;
    EXPECT_FALSE(IsFolderWritable(parent.filePath("gone")));
    EXPECT_EQ(ChooseDataFolder(parent.filePath("gone"), "/user/config"), "/user/config");
}

#ifdef Q_OS_LINUX
// Root may write anywhere, so as root the check runs in a copy of this test started as the
// unprivileged user "nobody", in a folder root owns: the place of a program installed into
// /usr/bin.
TEST(DataFolder, AReadOnlyProgramFolderSendsTheFilesToTheUserFolder) {
    const QString given = qEnvironmentVariable(kReadOnlyFolderVar);
    if (!given.isEmpty()) {
        EXPECT_FALSE(IsFolderWritable(given));
        EXPECT_EQ(ChooseDataFolder(given, "/user/config"), "/user/config");
        return;
    }
    QTemporaryDir program;
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    if (::geteuid() != 0) {
        EXPECT_FALSE(IsFolderWritable(program.path()));
        EXPECT_EQ(ChooseDataFolder(program.path(), "/user/config"), "/user/config");
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return;
    }
    EXPECT_TRUE(IsFolderWritable(program.path())) << "root writes even there";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kReadOnlyFolderVar, program.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const char *test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                            QFile::symLinkTarget("/proc/self/exe"),
                            QStringLiteral("--gtest_filter=DataFolder.%1").arg(test)});
    if (!child.waitForStarted(10000))
        GTEST_SKIP() << "cannot run as user nobody through setpriv: "
                     << child.errorString().toStdString();
    ASSERT_TRUE(child.waitForFinished(30000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
#endif

// The journal beside the program is a former one only when the program keeps another.
TEST(DataFolder, TheJournalBesideTheProgramIsAFormerOneWhenAnotherIsInUse) {
    QTemporaryDir program;
    QTemporaryDir user;
    const QString beside = program.filePath("runs.sqlite");
    const QString elsewhere = user.filePath("runs.sqlite");
    EXPECT_EQ(FormerJournalPath(program.path(), elsewhere), QString()) << "none there";
    QFile file(beside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(FormerJournalPath(program.path(), beside), QString()) << "the one in use";
    EXPECT_EQ(FormerJournalPath(program.path(), elsewhere), beside);
}

TEST(DataFolder, TheUserFolderIsTheProgramsAppConfigLocationWhoeverAsks) {
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(ProgramOrganisationName());
    QCoreApplication::setApplicationName(ProgramName());
    const QString programs = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QCoreApplication::setApplicationName("tamrel-sim");
    EXPECT_EQ(ProgramUserConfigFolder(), programs);
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
#ifdef Q_OS_LINUX
    EXPECT_TRUE(programs.endsWith("/Tamrel/Utility for Tamrel")) << programs.toStdString();
#endif
}

} // namespace
