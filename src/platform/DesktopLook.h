#pragma once

#include <QDBusVariant>
#include <QObject>

#include <optional>

namespace pipfield {

/// The desktop's own choices that the game follows: whether animations are switched off, and
/// whether it prefers a dark look. Read once at start and followed through the settings portal.
class DesktopLook final : public QObject {
    Q_OBJECT

public:
    explicit DesktopLook(QObject* parent = nullptr);

    /// True when the desktop has animations switched off.
    bool reduceMotion() const { return m_reduceMotion; }
    /// The portal's colour scheme: true for dark, false for light, nothing when it has no preference.
    std::optional<bool> prefersDark() const { return m_prefersDark; }

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void read();

    bool m_reduceMotion = false;
    std::optional<bool> m_prefersDark;
};

/// KDE writes AnimationDurationFactor=0 in kdeglobals when animations are off.
bool kdeAnimationsOff(const QString& kdeglobalsPath);

} // namespace pipfield
