// The real program started twice: a second copy ends at once while the first
// runs, and a first copy that died without cleaning up blocks nothing.
#include <QCoreApplication>
#include <QDeadlineTimer>
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
        if (::stat(QFile::encodeName(dir.filePath(QStringLiteral("tamrel-%1.lock").arg(::getuid())))
                       .constData(),
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

} // namespace
