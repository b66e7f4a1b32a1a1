#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace pipfield {

/// Whether the desktop's power-saver profile is on: from the desktop portal's power profile monitor on
/// the session bus, or, where no portal answers that, from power-profiles-daemon on the system bus.
/// Nothing is waited for; with neither, the power saver counts as off.
class PowerSaverWatcher final : public QObject {
    Q_OBJECT

public:
    PowerSaverWatcher(const QDBusConnection& session, const QDBusConnection& system, QObject* parent = nullptr);

    bool powerSaver() const { return m_powerSaver; }

Q_SIGNALS:
    void powerSaverChanged(bool on);

private Q_SLOTS:
    void onPortalProperties(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void onDaemonProperties(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    void askTheDaemon();
    void apply(bool on);

    QDBusConnection m_system;
    bool m_powerSaver = false;
    // Once the portal has answered, the daemon's word is not asked for: the portal speaks for it.
    bool m_portalAnswers = false;
    bool m_portalSilenceTold = false;
    bool m_daemonSilenceTold = false;
};

} // namespace pipfield
