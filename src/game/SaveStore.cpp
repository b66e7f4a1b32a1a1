#include "game/SaveStore.h"

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
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const bool complete = file.error() == QFileDevice::NoError;
        file.close();
        if (complete) {
            SaveDecoding decoded =
                decodeSave(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            if (decoded.save) {
                return std::move(decoded.save);
            }
        }
    }
    if (!keepUnreadable(now, keptAs)) {
        m_protectExisting = true;
    }
    return std::nullopt;
}

bool SaveStore::keepUnreadable(Instant now, QString* keptAs) {
    const QFileInfo info(m_path);
    const QString stamp = QDateTime::fromMSecsSinceEpoch(
                              std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count())
                              .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = info.completeBaseName() + QStringLiteral(".unreadable-") + stamp;
    for (int n = 1; n < 100; ++n) {
        // Two starts within one second must not put one kept file over another.
        const QString name = stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".json");
        const QString target = info.dir().filePath(name);
        if (QFileInfo::exists(target)) {
            continue;
        }
        if (QFile::rename(m_path, target) || QFile::copy(m_path, target)) {
            if (keptAs) {
                *keptAs = target;
            }
            return true;
        }
        return false;
    }
    return false;
}

std::optional<bool> SaveStore::write(const Save& save) {
    const std::optional<std::string> encoded = encodeSave(save);
    if (!encoded) {
        return std::nullopt;
    }
    if (m_protectExisting) {
        return false;
    }
    // Created here rather than up front, so that demo mode leaves no trace; and recreated should it
    // have been removed while the game ran.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(encoded->size());
    if (file.write(encoded->data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace pipfield
