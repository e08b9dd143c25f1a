// The journal's faults that need a POSIX system to make: a full disk (a small tmpfs) and a
// folder the user may not write (root's test run as user "nobody").
#include "journal_faults_support.h"
#include "small_disk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>
#include <string>

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
        EXPECT_TRUE(outcome.tell);
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
    outcome.tell = lines.value(1) == QLatin1String("1");
    outcome.path = lines.value(2);
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
        EXPECT_TRUE(outcome.tell);
        EXPECT_EQ(outcome.path, journalFile(dir)) << "its folder is named";
        EXPECT_EQ(QFileInfo::exists(journalFile(dir)), existing);
    }
}

// Root writes through permissions, so a file or folder is made unwritable for
// root by the immutable flag; for anyone else by its permissions.
class Unwritable {
public:
    explicit Unwritable(const QString &path) : m_path(path) {
        if (::geteuid() == 0) {
            m_flagged = QProcess::execute(QStringLiteral("chattr"), {"+i", path}) == 0;
            if (!m_flagged)
                m_skip = "cannot make " + path.toStdString() + " immutable with chattr";
            return;
        }
        m_permissions = QFile::permissions(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~Unwritable() {
        if (m_flagged)
            QProcess::execute(QStringLiteral("chattr"), {"-i", m_path});
        else if (m_permissions)
            QFile::setPermissions(m_path, *m_permissions);
    }
    const std::string &skip() const { return m_skip; }

private:
    QString m_path;
    bool m_flagged = false;
    std::optional<QFile::Permissions> m_permissions;
    std::string m_skip;
};

// SQLite maps the -shm file into memory; one cut short beneath a running
// program ended it with SIGBUS. The journal keeps that index in its own memory:
// no -shm is made, and one another program left, even unwritable, is no matter.
TEST(JournalFaults, NoSharedMemoryFileIsMappedSoNoneCanBeCutShortBeneathTheJournal) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(path).ok);
        const qint64 runId = beginRun(journal);
        ASSERT_TRUE(journal.recordReading(runId, reading(0)).ok);
        EXPECT_FALSE(QFileInfo::exists(path + "-shm"));
    }
    {
        // The unclean end above makes the next opening check the file first.
        TRunJournal journal;
        ASSERT_TRUE(journal.open(path).ok);
        EXPECT_FALSE(journal.previousSessionClean());
        EXPECT_FALSE(QFileInfo::exists(path + "-shm")) << "none left by the check";
    }
    const QString shm = path + "-shm";
    {
        QFile left(shm);
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    }
    Unwritable unwritable(shm);
    if (!unwritable.skip().empty())
        GTEST_SKIP() << unwritable.skip();
    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
    QVector<TJournalRunSummary> runs;
    ASSERT_TRUE(journal.runs(&runs).ok);
    ASSERT_EQ(runs.size(), 1);
    ASSERT_TRUE(journal.recordReading(runs[0].Id, reading(1)).ok);
    EXPECT_EQ(readingNumbers(journal, runs[0].Id), numbersUpTo(2));
}

QStringList filesAndSizes(const QString &folder) {
    QStringList out;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        out << info.fileName() + ' ' + QString::number(info.size());
    }
    return out;
}

// A journal left where the program may no longer write, by a session that did
// not end cleanly: its lost run is found, with the readings still in its log
// or without one, and nothing is written beside it.
TEST(JournalFaults, AJournalInAFolderThatBecameReadOnlyIsReadWithoutWritingThere) {
    for (const bool withLog : {true, false}) {
        SCOPED_TRACE(withLog ? "readings in the log" : "no log");
        QTemporaryDir live;
        QTemporaryDir left;
        QTemporaryDir scratch;
        const QString path = journalFile(live);
        const QString former = journalFile(left);
        qint64 runId = 0;
        {
            TRunJournal journal;
            ASSERT_TRUE(journal.open(path).ok);
            runId = beginRun(journal);
            for (int n = 0; n < 3; ++n)
                ASSERT_TRUE(journal.recordReading(runId, reading(n)).ok);
            // What a program killed now leaves: the file and its log.
            if (withLog) {
                ASSERT_GT(QFileInfo(path + "-wal").size(), 0);
                ASSERT_TRUE(QFile::copy(path, former));
                ASSERT_TRUE(QFile::copy(path + "-wal", former + "-wal"));
            }
        }
        if (!withLog) {
            ASSERT_TRUE(QFile::copy(path, former));
        }
        const QStringList before = filesAndSizes(left.path());
        Unwritable unwritable(left.path());
        if (!unwritable.skip().empty())
            GTEST_SKIP() << unwritable.skip();

        TRunJournal journal;
        const TJournalOutcome opened = journal.openToRead(former, scratch.path());
        ASSERT_TRUE(opened.ok) << "fault " << int(opened.fault);
        std::optional<TJournalRunSummary> lost;
        ASSERT_TRUE(journal.runToRecover(&lost).ok);
        ASSERT_TRUE(lost.has_value());
        EXPECT_EQ(lost->Id, runId);
        EXPECT_EQ(readingNumbers(journal, runId), numbersUpTo(3));
        EXPECT_EQ(filesAndSizes(left.path()), before);
    }
}

} // namespace
