#pragma once

// A disk that can be filled on purpose (POSIX, as root).
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

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
