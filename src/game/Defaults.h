#pragma once

#include "game/SettingsKeys.h"

#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <cstdint>
#include <memory>
#include <optional>

namespace pipfield {

/// The player's settings. A key answers, in this order: a value given on the command line for this
/// run (read-only keys only), the stored value, the registered default, the type's zero.
class Defaults final : public QObject {
    Q_OBJECT

public:
    /// Settings stored in `file` (an INI file), with `overrides` of read-only keys for this run, as
    /// the command line gives them.
    explicit Defaults(const QString& file, QVariantMap overrides = {}, QObject* parent = nullptr);
    ~Defaults() override;

    /// $XDG_CONFIG_HOME/Pipfield/Pipfield.conf.
    static QString standardFile();
    /// The keys the program only reads; the command line can override them for one run as `-KEY VALUE`.
    static const QStringList& readOnlyKeys();
    /// The defaults the program registers at start.
    static QVariantMap standardDefaults();

    /// Adds fallbacks that are never written to the file; later registrations win.
    void registerDefaults(const QVariantMap& defaults);

    /// The effective value, or an invalid QVariant when the key has none anywhere.
    QVariant value(const QString& key) const;
    bool contains(const QString& key) const { return value(key).isValid(); }

    bool boolValue(const QString& key) const;
    std::int64_t integer(const QString& key) const;
    /// Text, or nothing when the key has no value.
    std::optional<QString> string(const QString& key) const;

    /// Stores the value (written to disk at once); a command-line override of the key still wins.
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

Q_SIGNALS:
    /// Emitted after setValue() or remove(), whether or not the stored value differed.
    void changed(const QString& key);

private:
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
    QVariantMap m_overrides;
};

} // namespace pipfield
