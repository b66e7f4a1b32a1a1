#include "game/Defaults.h"

#include <QStandardPaths>

#include <cmath>

namespace pipfield {

namespace {

// Text values (from the INI file or the command line) read as Booleans the way the user would
// expect: "NO" and "false" are false; QVariant alone would call any non-empty text other than
// "0" and "false" true.
bool toBool(const QVariant& v) {
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        const QString s = v.toString().trimmed().toLower();
        if (s == QLatin1String("yes") || s == QLatin1String("true") || s == QLatin1String("y") ||
            s == QLatin1String("t")) {
            return true;
        }
        bool ok = false;
        const double number = s.toDouble(&ok);
        return ok && number != 0;
    }
    return v.toBool();
}

} // namespace

Defaults::Defaults(const QString& file, QVariantMap overrides, QObject* parent)
    : QObject(parent), m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat)),
      m_overrides(std::move(overrides)) {}

Defaults::~Defaults() = default;

QString Defaults::standardFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Pipfield/Pipfield.conf");
}

const QStringList& Defaults::readOnlyKeys() {
    static const QStringList keys = {SettingsKey::demo, SettingsKey::season, SettingsKey::hour, SettingsKey::showManage,
                                     SettingsKey::appearance};
    return keys;
}

QVariantMap Defaults::standardDefaults() {
    return {
        {SettingsKey::clickThrough, true},
        {SettingsKey::hideInFullScreen, true},
        {SettingsKey::stripShown, true},
        {SettingsKey::notificationsOn, true},
        {SettingsKey::theme, SettingsValue::defaultTheme},
        {SettingsKey::timeOfDayLight, true},
        {SettingsKey::followPowerSaver, true},
    };
}

void Defaults::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        m_registered.insert(it.key(), it.value());
    }
}

QVariant Defaults::value(const QString& key) const {
    if (auto it = m_overrides.constFind(key); it != m_overrides.cend()) {
        return *it;
    }
    if (QVariant stored = m_settings->value(key); stored.isValid()) {
        return stored;
    }
    return m_registered.value(key);
}

bool Defaults::boolValue(const QString& key) const {
    const QVariant v = value(key);
    return v.isValid() && toBool(v);
}

std::int64_t Defaults::integer(const QString& key) const {
    const QVariant v = value(key);
    if (!v.isValid()) {
        return 0;
    }
    if (v.typeId() == QMetaType::Bool) {
        return v.toBool() ? 1 : 0;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (ok) {
        return n;
    }
    // "12.7" stored by hand: an integer read of a real truncates.
    const double d = v.toDouble(&ok);
    return ok && std::abs(d) < 9.2e18 ? static_cast<std::int64_t>(d) : 0;
}

std::optional<QString> Defaults::string(const QString& key) const {
    const QVariant v = value(key);
    if (!v.isValid()) {
        return std::nullopt;
    }
    return v.toString();
}

void Defaults::setValue(const QString& key, const QVariant& v) {
    m_settings->setValue(key, v);
    m_settings->sync();
    Q_EMIT changed(key);
}

void Defaults::remove(const QString& key) {
    m_settings->remove(key);
    m_settings->sync();
    Q_EMIT changed(key);
}

} // namespace pipfield
