#include "game/SaveStore.h"

#include "game/FileReplacement.h"
#include "game/LocalTime.h"
#include "game/SaveLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <string>
#include <variant>

namespace pipfield {

namespace {

/// The save in the file at `path`, or why there is none.
std::variant<Save, QString> readSave(const QString& path) {
    const std::variant<QByteArray, QString> read = FileReplacement::contents(path);
    if (const QString* why = std::get_if<QString>(&read)) {
        return *why;
    }
    const QByteArray& bytes = std::get<QByteArray>(read);
    SaveDecoding decoded = decodeSave(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!decoded.save) {
        return QString::fromStdString(decoded.error);
    }
    return std::move(*decoded.save);
}

} // namespace

SaveStore::SaveStore(QString path) : m_path(std::move(path)) {
    const QFileInfo info(m_path);
    m_previousPath = info.dir().filePath(info.completeBaseName() + QStringLiteral(".previous.") + info.suffix());
}

QString SaveStore::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Pipfield/orchard.json");
}

std::optional<Save> SaveStore::load(Instant now, QString* keptAs) {
    if (!QFileInfo::exists(m_path)) {
        return std::nullopt;
    }
    std::variant<Save, QString> read = readSave(m_path);
    if (Save* save = std::get_if<Save>(&read)) {
        return std::move(*save);
    }
    const QString reason = std::get<QString>(read);
    // A save cut short or emptied (by a disk that filled up under an older version, or a crash of the
    // file system) need not cost the orchard: the save before it is kept beside it.
    std::optional<Save> previous;
    if (QFileInfo::exists(m_previousPath)) {
        std::variant<Save, QString> older = readSave(m_previousPath);
        if (Save* save = std::get_if<Save>(&older)) {
            previous = std::move(*save);
        }
    }
    const QString outcome = previous ? QStringLiteral("continuing from the previous save ") + m_previousPath
                                     : QStringLiteral("starting a new game");
    if (const std::optional<QString> kept = keepUnreadable(now)) {
        qCWarning(lcSave).noquote() << "cannot read" << m_path << "(" + reason + "); kept it as" << *kept << "and"
                                    << outcome;
        if (keptAs) {
            *keptAs = *kept;
        }
    } else {
        m_protectExisting = true;
        qCWarning(lcSave).noquote() << "cannot read" << m_path << "(" + reason + ") nor set it aside;" << outcome
                                    << "and this run will not write over it";
    }
    return previous;
}

std::optional<QString> SaveStore::keepUnreadable(Instant now) {
    const QFileInfo info(m_path);
    const QString stamp = localDateTime(now).toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = info.completeBaseName() + QStringLiteral(".unreadable-") + stamp;
    for (int n = 1; n < 100; ++n) {
        // Two starts within one second must not put one kept file over another.
        const QString name = stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".json");
        const QString target = info.dir().filePath(name);
        if (QFileInfo::exists(target)) {
            continue;
        }
        if (QFile::rename(m_path, target) || QFile::copy(m_path, target)) {
            return target;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

SaveStore::WriteResult SaveStore::write(const Save& save) {
    const std::optional<std::string> encoded = encodeSave(save);
    if (!encoded) {
        // The game retries on every tick until the state can be written; one line says it.
        if (!m_unencodable) {
            qCWarning(lcSave) << "not saved: the game holds a number that cannot be written";
        }
        m_unencodable = true;
        return WriteResult::unencodable;
    }
    m_unencodable = false;
    if (m_protectExisting) {
        qCWarning(lcSave).noquote() << "not saved: the unreadable" << m_path << "could not be set aside";
        return WriteResult::refused;
    }
    // Created here rather than up front, so that demo mode leaves no trace; and recreated should it
    // have been removed while the game ran.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    FileReplacement file(m_path);
    if (const std::optional<QString> why =
            file.write(QByteArrayView(encoded->data(), static_cast<qsizetype>(encoded->size())))) {
        qCWarning(lcSave).noquote() << "not saved: cannot write" << m_path << "(" + *why + ")";
        return WriteResult::ioFailed;
    }
    // The file about to be replaced is the last good save: it was read at start or written by this run.
    if (const std::optional<QString> why = file.keepCurrentAs(m_previousPath)) {
        qCWarning(lcSave).noquote() << "cannot keep the previous save as" << m_previousPath << "(" + *why + ")";
    }
    if (const std::optional<QString> why = file.commit()) {
        qCWarning(lcSave).noquote() << "not saved: cannot replace" << m_path << "(" + *why + ")";
        return WriteResult::ioFailed;
    }
    return WriteResult::written;
}

} // namespace pipfield
