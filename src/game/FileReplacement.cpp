#include "game/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pipfield {
namespace {

QString systemError(int error) {
    return qt_error_string(error);
}

/// `base` with a suffix that no other file beside it is likely to have.
QByteArray temporaryName(const QByteArray& base) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = base + ".tmp-";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kLetters) - 1)];
    }
    return name;
}

// Linux gives back the descriptor even when close() is interrupted, so EINTR is no failure here.
bool closed(int fd) {
    return ::close(fd) == 0 || errno == EINTR;
}

} // namespace

std::optional<QString> FileReplacement::replace(const QString& path, QByteArrayView bytes) {
    FileReplacement file(path);
    if (std::optional<QString> why = file.write(bytes)) {
        return why;
    }
    return file.commit();
}

FileReplacement::FileReplacement(QString path) : m_path(std::move(path)) {}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::discard() {
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

std::optional<QString> FileReplacement::write(QByteArrayView bytes) {
    discard();
    const QByteArray target = QFile::encodeName(m_path);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        m_temporary = temporaryName(target);
        // 0666 less the umask, as any new file; the permissions of a file being replaced are taken below.
        fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            return systemError(error);
        }
    }
    if (fd < 0) {
        m_temporary.clear();
        return systemError(EEXIST);
    }
    auto fail = [this, fd](int error) {
        ::close(fd);
        discard();
        return std::optional<QString>(systemError(error));
    };
    struct stat old {};
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd, old.st_mode & 07777) != 0) {
        return fail(errno);
    }
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that takes nothing without saying why is a full device in all but name.
            return fail(n == 0 ? ENOSPC : errno);
        }
        next += n;
        left -= n;
    }
    // The rename must not reach the disk before the content does, or a crash just after it could leave
    // an empty file under the old name.
    if (::fsync(fd) != 0) {
        return fail(errno);
    }
    if (!closed(fd)) {
        const int error = errno;
        discard();
        return systemError(error);
    }
    return std::nullopt;
}

std::optional<QString> FileReplacement::commit() {
    // The temporary file is kept only once it holds the whole content.
    if (m_temporary.isEmpty()) {
        return QStringLiteral("nothing was written");
    }
    if (::rename(m_temporary.constData(), QFile::encodeName(m_path).constData()) != 0) {
        const int error = errno;
        discard();
        return systemError(error);
    }
    m_temporary.clear();
    // The new name is durable once the folder is synced. Some file systems cannot sync a folder; the
    // file is in place all the same, so that is no failure.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(m_path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return std::nullopt;
}

std::optional<QString> FileReplacement::keepCurrentAs(const QString& copy) const {
    const QByteArray current = QFile::encodeName(m_path);
    struct stat info {};
    if (::lstat(current.constData(), &info) != 0) {
        return errno == ENOENT ? std::nullopt : std::optional<QString>(systemError(errno));
    }
    const QByteArray target = QFile::encodeName(copy);
    const QByteArray link = temporaryName(target);
    if (::link(current.constData(), link.constData()) == 0) {
        const bool renamed = ::rename(link.constData(), target.constData()) == 0;
        const int error = errno;
        // Also after a rename: when the copy already was this very file, rename() leaves both names.
        ::unlink(link.constData());
        return renamed ? std::nullopt : std::optional<QString>(systemError(error));
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK) {
        return systemError(errno);
    }
    // A file system without hard links.
    std::variant<QByteArray, QString> bytes = contents(m_path);
    if (const QString* why = std::get_if<QString>(&bytes)) {
        return *why;
    }
    return replace(copy, std::get<QByteArray>(bytes));
}

std::variant<QByteArray, QString> FileReplacement::contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return file.errorString();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return file.errorString();
    }
    return bytes;
}

} // namespace pipfield
