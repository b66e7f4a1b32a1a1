#pragma once

#include "game/Clock.h"
#include "model/SaveFile.h"

#include <QString>

#include <optional>

namespace pipfield {

/// The one save file: read once at start, replaced whole and atomically on every save, with the save
/// before it kept beside it as "orchard.previous.json".
class SaveStore final {
public:
    /// The file at `path`; its folder is created by the first write.
    explicit SaveStore(QString path);

    /// $XDG_DATA_HOME/Pipfield/orchard.json.
    static QString standardPath();

    const QString& path() const { return m_path; }
    /// Where the save before the last one is kept.
    const QString& previousPath() const { return m_previousPath; }

    /// The saved game, or nothing when there is no file or it cannot be read or decoded. A file that
    /// exists but cannot be decoded is first moved aside as "orchard.unreadable-YYYYMMDD-HHMMSS.json"
    /// (local time of `now`), so that the next write cannot destroy a game written by a later version
    /// or damaged by hand. Returns that name in `keptAs` when given. When it can be neither moved nor
    /// copied, every later write is refused instead. Either way the game then continues from the
    /// previous save kept beside it when that one can be read.
    std::optional<Save> load(Instant now, QString* keptAs = nullptr);

    enum class WriteResult {
        written,
        /// The record holds a number the save format cannot carry; nothing was touched.
        unencodable,
        /// An unreadable file that could not be set aside is in the way and is kept.
        refused,
        /// The folder or the file could not be written.
        ioFailed,
    };

    /// Encodes and writes atomically: the file is replaced whole or left as it was. Every failure is
    /// logged once.
    WriteResult write(const Save& save);

private:
    /// The name the unreadable file now has, or nothing when it could not be set aside.
    std::optional<QString> keepUnreadable(Instant now);

    QString m_path;
    QString m_previousPath;
    // Set when an undecodable file could be neither moved nor copied aside: writing over it would
    // lose it, so this run keeps the game in memory only.
    bool m_protectExisting = false;
    // Set while the state cannot be encoded, so that the retry on every tick logs once.
    bool m_unencodable = false;
};

} // namespace pipfield
