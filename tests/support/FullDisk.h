#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QUuid>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace pipfield::test {

/// A folder of its own on a small file system that the test fills to the last byte and frees again.
/// The file system is mounted by tests/support/on-full-disk.sh, which names it in PIPFIELD_FULL_DISK;
/// run any other way, the test fails at once.
class FullDisk {
public:
    FullDisk() {
        const char* root = std::getenv("PIPFIELD_FULL_DISK");
        if (root == nullptr) {
            ADD_FAILURE() << "run through tests/support/on-full-disk.sh";
            return;
        }
        m_folder = QDir(QString::fromLocal8Bit(root)).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
        EXPECT_TRUE(QDir().mkpath(m_folder));
    }
    ~FullDisk() {
        free();
        if (!m_folder.isEmpty()) {
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

    /// Takes every byte left, until the file system says there is no space.
    void fill() {
        const QByteArray filler = QFile::encodeName(QDir(m_folder).filePath(QStringLiteral("../filler")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'x');
        // Whole blocks first, then single bytes for whatever a block was too big for.
        for (qsizetype size : {block.size(), qsizetype{1}}) {
            while (::write(fd, block.constData(), static_cast<size_t>(size)) > 0) {
            }
        }
        const int error = errno;
        ::close(fd);
        ASSERT_EQ(error, ENOSPC);
        m_filler = filler;
    }
    /// Gives the space back.
    void free() {
        if (!m_filler.isEmpty()) {
            ::unlink(m_filler.constData());
            m_filler.clear();
        }
    }

private:
    QString m_folder;
    QByteArray m_filler;
};

} // namespace pipfield::test
