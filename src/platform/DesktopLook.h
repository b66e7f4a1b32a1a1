#pragma once

#include <QDBusError>
#include <QDBusVariant>
#include <QObject>

#include <functional>
#include <optional>

namespace pipfield {

/// The desktop's own choices that the game follows: whether animations are switched off, and
/// whether it prefers a dark look. Asked for at start without waiting for the answers, which come
/// as changes, and followed through the settings portal.
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
    void read(const QString& group, const QString& key, std::function<void(const std::optional<QVariant>&)> apply);
    void reportUnread(const QString& group, const QString& key, const QDBusError& error);
    void readAnimationsFromGsettings();
    void applyAnimations(bool enabled);
    void applyColorScheme(uint scheme);

    bool m_kdeAnimationsOff = false;
    bool m_reduceMotion = false;
    std::optional<bool> m_prefersDark;
    bool m_portalFailureTold = false;
};

/// The values of the settings portal's org.freedesktop.appearance color-scheme key, as the XDG desktop
/// portal's Settings interface documents them; an unknown value means no preference.
enum class PortalColorScheme : uint { noPreference = 0, preferDark = 1, preferLight = 2 };

/// KDE writes AnimationDurationFactor=0 in kdeglobals when animations are off.
bool kdeAnimationsOff(const QString& kdeglobalsPath);

} // namespace pipfield
