// A save that fails half-way, made on a POSIX system by a file size limit, as on a full disk.
#include "file_support.h"
#include "files/csv_table.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Files may grow only up to a few bytes while alive, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(CSVTable, FailedWriteKeepsTheExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    writeBytes(path, "good readings");
    TCSVTable t;
    t.SetTableSize(1, 1);
    for (int i = 0; i < 100; ++i)
        t.SetCell(QStringLiteral("P%1").arg(i), "1", 0, 0);

    TFileResult result;
    {
        FileSizeLimit limit(64);
        result = t.SaveTableToFile(path);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.fault, TFileResult::Fault::PartialWrite);
    EXPECT_EQ(readBytes(path), QByteArray("good readings"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"run.csv"}));
}

} // namespace
