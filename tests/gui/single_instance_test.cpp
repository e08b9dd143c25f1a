// The real program started twice: a second copy ends at once while the first
// runs, and a first copy that died without cleaning up blocks nothing. Run as
// root, the tests also play another local account that tries to block the
// start or to make the program create a file where it chooses.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/stat.h>

#include <functional>

namespace {

QString programPath() {
#ifdef TAMREL_PROGRAM_PATH
    return QStringLiteral(TAMREL_PROGRAM_PATH);
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/app/UtilityForTamrel");
#endif
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Each test has its own temporary directory, so the lock file is its own and
// tests running side by side do not meet.
class SingleInstanceTest : public ::testing::Test {
protected:
    void start(QProcess &process) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(programPath(), {});
        ASSERT_TRUE(process.waitForStarted(10000)) << programPath().toStdString();
    }

    // The process holding the lock, read from the kernel's lock table so that
    // looking does not take the lock away from the program.
    qint64 lockHolder() const {
        struct stat st {};
        if (::stat(QFile::encodeName(dir.filePath(QStringLiteral("tamrel.lock"))).constData(),
                   &st) != 0)
            return -1;
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray inodeSuffix = ':' + QByteArray::number(qulonglong(st.st_ino));
        for (const QByteArray &line : locks.readAll().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() >= 6 && f[1] == "FLOCK" && f[5].endsWith(inodeSuffix))
                return f[4].toLongLong();
        }
        return -1;
    }

    void stop(QProcess &process) {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }

    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, SecondCopyEndsAtOnceAndSilentlyWhileTheFirstRuns) {
    QProcess first;
    start(first);
    ASSERT_TRUE(waitFor([&] { return lockHolder() == first.processId(); }));

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(second.readAllStandardError().isEmpty()) << "no application was even created";

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(lockHolder(), first.processId());
    stop(first);
}

TEST_F(SingleInstanceTest, KilledFirstCopyDoesNotBlockTheNextStart) {
    QProcess first;
    start(first);
    ASSERT_TRUE(waitFor([&] { return lockHolder() == first.processId(); }));
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));

    QProcess next;
    start(next);
    EXPECT_TRUE(waitFor([&] { return lockHolder() == next.processId(); }));
    EXPECT_EQ(next.state(), QProcess::Running);
    stop(next);
}

// Two unprivileged accounts that exist only as numbers: the user who starts the
// program and another local user who would like to stop it.
constexpr uid_t kUser = 40000;
constexpr uid_t kOther = 40001;

QStringList asUser(uid_t uid, const QStringList &command) {
    return QStringList{QStringLiteral("--reuid=%1").arg(uid), QStringLiteral("--regid=%1").arg(uid),
                       QStringLiteral("--clear-groups"), QStringLiteral("--")} +
           command;
}

// Past the lock the program builds its application, which loads the platform
// plugin: a sign that it started, which a refused copy never shows.
bool reachedTheApplication(qint64 pid) {
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("qoffscreen");
}

class SingleInstanceOtherUserTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "playing two other accounts needs root (setpriv)";
        // A shared temporary folder like /tmp: everyone may write, only owners delete.
        ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    }
    void TearDown() override {
        for (QProcess *p : {&program, &other})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(10000);
            }
    }

    // The user's program without a runtime folder, so the lock goes to the shared one.
    void startProgram() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), shared.path());
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(shared.path());
        program.start(QStringLiteral("setpriv"), asUser(kUser, {programPath()}));
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // Runs a shell command as the other user and waits for it to say "ready".
    void otherUserDoes(const QString &script) {
        other.setProcessChannelMode(QProcess::MergedChannels);
        other.start(QStringLiteral("setpriv"),
                    asUser(kOther, {QStringLiteral("sh"), QStringLiteral("-c"), script}));
        ASSERT_TRUE(other.waitForStarted(10000));
        ASSERT_TRUE(waitFor([&] {
            other.waitForReadyRead(50);
            return other.peek(64).contains("ready") || other.state() == QProcess::NotRunning;
        }));
        ASSERT_TRUE(other.readAll().contains("ready"));
    }

    QString ownFolder() const { return shared.filePath(QStringLiteral("tamrel-%1").arg(kUser)); }

    QTemporaryDir shared;
    QProcess program;
    QProcess other;
};

// The other user makes the user's folder first and holds a lock in it, and one
// on a lock file in the shared folder itself: the program takes neither for its
// own and starts all the same.
TEST_F(SingleInstanceOtherUserTest, ALockHeldByAnotherAccountDoesNotStopTheStart) {
    otherUserDoes(
        QStringLiteral(
            "umask 000; mkdir -m 755 '%1' && exec flock '%1/tamrel.lock' flock '%2' sh -c "
            "'echo ready; sleep 60'")
            .arg(ownFolder(), shared.filePath(QStringLiteral("tamrel-%1.lock").arg(kUser))));
    startProgram();
    EXPECT_TRUE(waitFor([&] {
        return program.state() != QProcess::Running || reachedTheApplication(program.processId());
    }));
    EXPECT_EQ(program.state(), QProcess::Running) << "the program gave up";
}

// The other user plants the user's folder as a link to a folder of its choice:
// the program creates nothing there.
TEST_F(SingleInstanceOtherUserTest, ALinkPlantedByAnotherAccountIsNotFollowed) {
    const QString target = shared.filePath(QStringLiteral("chosen"));
    ASSERT_TRUE(QDir().mkdir(target));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0777), 0);
    otherUserDoes(QStringLiteral("ln -s '%1' '%2' && ln -s '%1/planted' '%3' && echo ready")
                      .arg(target, ownFolder(),
                           shared.filePath(QStringLiteral("tamrel-%1.lock").arg(kUser))));
    startProgram();
    EXPECT_TRUE(waitFor([&] {
        return program.state() != QProcess::Running || reachedTheApplication(program.processId());
    }));
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_TRUE(QDir(target).isEmpty()) << QDir(target).entryList().join(' ').toStdString();
}

} // namespace
