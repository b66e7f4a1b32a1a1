#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pipfield::test {

/// A folder of its own on a small file system that the test fills to the last byte and frees again.
/// The file system is mounted by tests/support/on-full-disk.sh, which names it in PIPFIELD_FULL_DISK;
/// run any other way (or on a file system larger than a few MiB) the test fails and fills nothing, so
/// that a test program run by hand can never fill a real disk.
class FullDisk {
public:
    FullDisk() {
        const char* root = std::getenv("PIPFIELD_FULL_DISK");
        if (root == nullptr || !isSmall(QString::fromLocal8Bit(root))) {
            // Run any other way, the test fails and its files go to a folder of its own; nothing is filled.
            ADD_FAILURE() << "run through tests/support/on-full-disk.sh, which gives a small file system";
            m_folder = m_fallback.path();
            return;
        }
        m_folder = QDir(QString::fromLocal8Bit(root)).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
        m_small = true;
        EXPECT_TRUE(QDir().mkpath(m_folder));
    }
    ~FullDisk() {
        free();
        if (m_small) {
            QDir(m_folder).removeRecursively();
        }
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    QString filePath(const QString& name) const { return QDir(m_folder).filePath(name); }
    /// The names in `folder` (relative to this one), hidden files included.
    QStringList entries(const QString& folder) const {
        return QDir(filePath(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    /// Takes every byte left, until the file system says there is no space; never more than
    /// kLargest bytes, and only on the small file system, whatever goes wrong.
    void fill() {
        ASSERT_TRUE(m_small) << "not on a small file system: nothing is filled";
        const QByteArray filler = QFile::encodeName(QDir(m_folder).filePath(QStringLiteral("../filler")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        m_filler = filler;
        const QByteArray block(4096, 'x');
        qint64 written = 0;
        // Whole blocks first, then single bytes for whatever a block was too big for.
        for (qsizetype size : {block.size(), qsizetype{1}}) {
            ssize_t n = 0;
            while (written < kLargest && (n = ::write(fd, block.constData(), static_cast<size_t>(size))) > 0) {
                written += n;
            }
        }
        const int error = errno;
        ::close(fd);
        ASSERT_LT(written, kLargest);
        ASSERT_EQ(error, ENOSPC);
    }
    /// Gives the space back.
    void free() {
        if (!m_filler.isEmpty()) {
            ::unlink(m_filler.constData());
            m_filler.clear();
        }
    }

private:
    static constexpr qint64 kLargest = 16 << 20;

    static bool isSmall(const QString& folder) {
        struct statvfs info {};
        return ::statvfs(QFile::encodeName(folder).constData(), &info) == 0 &&
               static_cast<qint64>(info.f_blocks) * static_cast<qint64>(info.f_frsize) <= kLargest;
    }

    QTemporaryDir m_fallback;
    QString m_folder;
    bool m_small = false;
    QByteArray m_filler;
};

} // namespace pipfield::test
