#include "journal_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes, qint64 at = 0) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    file.seek(at);
    file.write(bytes);
}

TJournalTable smallTable() {
    TJournalTable table;
    table.SetPointTexts = {"20", "21"};
    table.TempStorage.TempInit = 20;
    table.TempStorage.TempFinal = 21;
    table.TempStorage.TempStep = 1;
    table.TempStorage.TempDiff = 0.3;
    table.TempStorage.Add({20, 1, 0});
    table.TempStorage.Add({21, 2, 0});
    return table;
}

TJournalStart oneFrequency() {
    TJournalStart start;
    start.Time = QDateTime::currentDateTime();
    start.Frequencies = {1000};
    return start;
}

TJournalReading reading(int n) {
    TJournalReading r;
    r.Row = 1 + n % 2;
    r.Col = 2;
    r.TempIndex = n % 2;
    r.Time = QDateTime::currentDateTime();
    r.MainName = "Cp";
    r.MainBase = QString::number(n);
    r.CellText = QStringLiteral("Cp %1 nF;---------; D 0,01 ").arg(n);
    return r;
}

qint64 beginRun(TRunJournal &journal) {
    qint64 id = 0;
    const TJournalOutcome outcome = journal.beginRun(smallTable(), oneFrequency(), &id);
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    return id;
}

// The journal stops at its first failure: the message comes once, and later
// calls fail quietly with the same fault.
void expectStoppedQuietly(TRunJournal &journal, qint64 runId, TJournalFault fault) {
    EXPECT_FALSE(journal.isOpen());
    const TJournalOutcome later = journal.recordReading(runId, reading(0));
    EXPECT_FALSE(later.ok);
    EXPECT_EQ(later.fault, fault);
    EXPECT_TRUE(later.message.isEmpty());
}

// A 512 KiB tmpfs on a temporary folder, unmounted when done. Mounting
// needs root (as on this project's machines and CI).
class SmallDisk {
public:
    SmallDisk() {
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                    "size=512k") == 0)
            m_mounted = true;
        else
            m_error = std::strerror(errno);
    }
    ~SmallDisk() {
        if (m_mounted && ::umount2(QFile::encodeName(m_dir.path()).constData(), 0) != 0)
            ADD_FAILURE() << "cannot unmount " << m_dir.path().toStdString() << ": "
                          << std::strerror(errno);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    const char *error() const { return m_error; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a file until the disk takes no more.
    void fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray chunk(4096, 'x');
        while (filler.write(chunk) == chunk.size()) {
        }
    }
    void free() const { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    const char *m_error = "";
};

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

TEST(JournalFaults, AFileLockedByAnotherConnectionStopsTheJournalInsteadOfWaiting) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    {
        TRunJournal first;
        ASSERT_TRUE(first.open(path).ok);
        ASSERT_TRUE(first.markCleanShutdown().ok);
    }
    const QString lockedText =
        QStringLiteral("Журнал измерений не ведётся: файл журнала занят другой программой.");
    SideConnection holder(path);

    // Held while the journal opens.
    ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.fault, TJournalFault::Locked);
    EXPECT_EQ(opened.message, lockedText);
    ASSERT_TRUE(holder.exec("ROLLBACK"));

    // Taken while the journal records.
    ASSERT_TRUE(journal.open(path).ok);
    const qint64 runId = beginRun(journal);
    ASSERT_TRUE(holder.exec("BEGIN IMMEDIATE"));
    const TJournalOutcome recorded = journal.recordReading(runId, reading(1));
    EXPECT_FALSE(recorded.ok);
    EXPECT_EQ(recorded.fault, TJournalFault::Locked);
    EXPECT_EQ(recorded.message, lockedText);
    ASSERT_TRUE(holder.exec("ROLLBACK"));
    expectStoppedQuietly(journal, runId, TJournalFault::Locked);
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

void expectMovedAside(const TJournalOutcome &opened, const QString &path) {
    EXPECT_TRUE(opened.ok);
    EXPECT_EQ(opened.fault, TJournalFault::Corrupt);
    EXPECT_EQ(QFileInfo(opened.movedAside).absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_TRUE(QFileInfo(opened.movedAside).fileName().startsWith("runs-damaged-"));
    EXPECT_EQ(opened.message, QStringLiteral("Файл журнала измерений был повреждён и сохранён "
                                             "как «%1»; начат новый журнал.")
                                  .arg(QDir::toNativeSeparators(opened.movedAside)));
}

// A fresh journal takes the damaged one's place and works.
void expectFreshJournal(TRunJournal &journal) {
    QVector<TJournalRunSummary> runs;
    EXPECT_TRUE(journal.runs(&runs).ok);
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_TRUE(journal.previousSessionClean());
    EXPECT_TRUE(journal.recordReading(beginRun(journal), reading(1)).ok);
}

TEST(JournalFaults, GarbageOverTheFileIsMovedAsideAndANewJournalStarted) {
    QTemporaryDir dir;
    const QString path = journalFile(dir);
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += "junk";
    writeAll(path, garbage);

    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    expectMovedAside(opened, path);
    EXPECT_EQ(readAll(opened.movedAside), garbage);
    expectFreshJournal(journal);
}

// The files a killed program leaves (the database with its log and index),
// with a damaged page in the middle of the database: all three are kept
// exactly as found.
TEST(JournalFaults, ADamagedPageIsFoundAtOpeningAndTheFileKeptWithItsLog) {
    QTemporaryDir live;
    QTemporaryDir left;
    const QString path = journalFile(left);
    {
        TRunJournal journal;
        ASSERT_TRUE(journal.open(journalFile(live)).ok);
        const qint64 runId = beginRun(journal);
        for (int n = 0; n < 300; ++n)
            ASSERT_TRUE(journal.recordReading(runId, reading(n)).ok);
        // Closing folds the log into the database; the next reading starts a new log.
        ASSERT_TRUE(journal.open(journalFile(live)).ok);
        ASSERT_TRUE(journal.recordReading(runId, reading(300)).ok);
        for (const char *companion : {"", "-wal", "-shm"})
            ASSERT_TRUE(QFile::copy(journalFile(live) + companion, path + companion));
    }
    const qint64 size = QFileInfo(path).size();
    writeAll(path, QByteArray(8192, char(0xAB)), size / 2);
    const QByteArray damaged = readAll(path);
    const QByteArray log = readAll(path + "-wal");
    ASSERT_FALSE(log.isEmpty());

    TRunJournal journal;
    const TJournalOutcome opened = journal.open(path);
    expectMovedAside(opened, path);
    EXPECT_EQ(readAll(opened.movedAside), damaged);
    EXPECT_EQ(readAll(opened.movedAside + "-wal"), log);
    EXPECT_TRUE(QFileInfo::exists(opened.movedAside + "-shm"));
    expectFreshJournal(journal);
}

} // namespace
