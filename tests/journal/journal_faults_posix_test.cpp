// The journal's faults that need a POSIX system to make: a full disk (a small tmpfs) and a
// folder the user may not write (root's test run as user "nobody").
#include "journal_faults_support.h"
#include "small_disk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(JournalFaults, AFullDiskStopsTheJournalAndKeepsWhatWasCommitted) {
    SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs to fill (needs root): " << disk.error();
    const QString path = disk.filePath(QStringLiteral("runs.sqlite"));
    qint64 runId = 0;
    int recorded = 0;
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(path).ok);
        runId = beginRun(journal);
        for (; recorded < 5; ++recorded)
            ASSERT_TRUE(journal.recordReading(runId, reading(recorded)).ok);
        disk.fill();
        TJournalOutcome outcome;
        for (int n = recorded; n < 5000 && outcome.ok; ++n) {
            outcome = journal.recordReading(runId, reading(n));
            recorded += outcome.ok ? 1 : 0;
        }
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.fault, TJournalFault::DiskFull);
        EXPECT_EQ(outcome.message, "Журнал измерений не ведётся: на диске нет места.");
        expectStoppedQuietly(journal, runId, TJournalFault::DiskFull);

        TRunJournal another;
        EXPECT_EQ(another.open(disk.filePath(QStringLiteral("new.sqlite"))).fault,
                  TJournalFault::DiskFull);
    }
    disk.free();
    TRunJournal journal;
    ASSERT_TRUE(journal.open(path).ok);
    std::optional<TJournalRun> run;
    ASSERT_TRUE(journal.loadRun(runId, &run).ok);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->Segments.value(0).Readings.size(), recorded);
}

// Root may write anywhere, so as root the journal is opened by a child run
// as the unprivileged user "nobody".
TJournalOutcome openWithoutWriteAccess(const QTemporaryDir &dir, QString *skip) {
    const QString path = journalFile(dir);
    if (::geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        TRunJournal journal;
        return journal.open(path);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    QProcess child;
    child.start(QStringLiteral("setpriv"),
                {"--reuid=65534", "--regid=65534", "--clear-groups",
                 QCoreApplication::applicationFilePath(), kOpenJournalArg, path});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        *skip = QStringLiteral("cannot run as user nobody through setpriv: ") +
                child.errorString() + QString::fromLocal8Bit(child.readAllStandardError());
        return {};
    }
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
    TJournalOutcome outcome;
    outcome.fault = TJournalFault(lines.value(0).toInt());
    outcome.ok = outcome.fault == TJournalFault::None;
    outcome.message = lines.value(1);
    return outcome;
}

TEST(JournalFaults, AFolderWithoutWriteAccessIsReported) {
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "a journal from before" : "no journal yet");
        QTemporaryDir dir;
        if (existing) {
            TRunJournal before;
            ASSERT_TRUE(before.open(journalFile(dir)).ok);
            beginRun(before);
            ASSERT_TRUE(before.markCleanShutdown().ok);
        }
        QString skip;
        const TJournalOutcome outcome = openWithoutWriteAccess(dir, &skip);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!skip.isEmpty())
            GTEST_SKIP() << skip.toStdString();
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.fault, TJournalFault::FolderNotWritable);
        EXPECT_EQ(outcome.message,
                  QStringLiteral("Журнал измерений не ведётся: нет права записи в папку «%1».")
                      .arg(QDir::toNativeSeparators(dir.path())));
        EXPECT_EQ(QFileInfo::exists(journalFile(dir)), existing);
    }
}

} // namespace
