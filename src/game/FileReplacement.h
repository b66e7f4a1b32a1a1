#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>

namespace pipfield {

/// A file replaced whole or not at all: the new bytes go to a temporary file beside it, every one of
/// them checked written and synced to the disk, and only then is the temporary file renamed over the
/// old one. A full disk, a quota, an I/O error or a folder that has gone away leaves the old file as
/// it was and no temporary file behind. Done with the system calls themselves rather than through a
/// buffered Qt file, whose failed flush at commit time went unnoticed and put an empty file in place.
class FileReplacement final {
public:
    /// Replaces `path` with `bytes`; nothing on success, else why not.
    static std::optional<QString> replace(const QString& path, QByteArrayView bytes);
    /// The whole content of the file at `path`, or why it cannot be read.
    static std::variant<QByteArray, QString> contents(const QString& path);

    explicit FileReplacement(QString path);
    /// Removes the temporary file unless it was committed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Writes and syncs the new content to the temporary file; the file at `path` is not touched yet.
    /// Nothing on success, else why not.
    std::optional<QString> write(QByteArrayView bytes);
    /// Puts the written content in place of the file at `path`. Nothing on success, else why not.
    std::optional<QString> commit();

    /// Keeps the file now at `path` as `copy` too, replacing an older copy, before a commit replaces it.
    /// A hard link where the file system has them (no space needed), else a copy. Nothing on success or
    /// when there is no file at `path`, else why not; `path` itself is never touched.
    std::optional<QString> keepCurrentAs(const QString& copy) const;

private:
    void discard();

    QString m_path;
    // The temporary file, named only while it holds the whole new content (or is being written).
    QByteArray m_temporary;
};

} // namespace pipfield
