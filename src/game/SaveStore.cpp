#include "game/SaveStore.h"

#include "game/LocalTime.h"
#include "game/SaveLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <string>

namespace pipfield {

SaveStore::SaveStore(QString path) : m_path(std::move(path)) {}

QString SaveStore::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Pipfield/orchard.json");
}

std::optional<Save> SaveStore::load(Instant now, QString* keptAs) {
    QFile file(m_path);
    if (!file.exists()) {
        return std::nullopt;
    }
    QString reason;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const bool complete = file.error() == QFileDevice::NoError;
        reason = complete ? QString() : file.errorString();
        file.close();
        if (complete) {
            SaveDecoding decoded =
                decodeSave(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            if (decoded.save) {
                return std::move(decoded.save);
            }
            reason = QString::fromStdString(decoded.error);
        }
    } else {
        reason = file.errorString();
    }
    if (const std::optional<QString> kept = keepUnreadable(now)) {
        qCWarning(lcSave).noquote() << "cannot read" << m_path << "(" + reason + "); kept it as" << *kept
                                    << "and starting a new game";
        if (keptAs) {
            *keptAs = *kept;
        }
    } else {
        m_protectExisting = true;
        qCWarning(lcSave).noquote() << "cannot read" << m_path << "(" + reason + ") nor set it aside;"
                                    << "this run will not write over it";
    }
    return std::nullopt;
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
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcSave).noquote() << "not saved: cannot open" << m_path << "(" + file.errorString() + ")";
        return WriteResult::ioFailed;
    }
    const auto size = static_cast<qint64>(encoded->size());
    if (file.write(encoded->data(), size) != size) {
        qCWarning(lcSave).noquote() << "not saved: cannot write" << m_path << "(" + file.errorString() + ")";
        file.cancelWriting();
        return WriteResult::ioFailed;
    }
    if (!file.commit()) {
        qCWarning(lcSave).noquote() << "not saved: cannot replace" << m_path << "(" + file.errorString() + ")";
        return WriteResult::ioFailed;
    }
    return WriteResult::written;
}
} // namespace pipfield
