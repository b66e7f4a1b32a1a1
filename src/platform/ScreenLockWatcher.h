#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace pipfield {

/// Whether nobody can see the desktop: its screen saver is on, or the session is locked. Follows the
/// screen savers on the session bus (the freedesktop, GNOME and KDE names) and logind's hint of the
/// session on the system bus, whichever are there; none of them is waited for, and without any the
/// session counts as unlocked.
class ScreenLockWatcher final : public QObject {
    Q_OBJECT

public:
    ScreenLockWatcher(const QDBusConnection& session, const QDBusConnection& system, QObject* parent = nullptr);

    bool locked() const { return m_saverActive || m_lockedHint; }

Q_SIGNALS:
    void lockedChanged(bool locked);

private Q_SLOTS:
    void onSaverActive(bool active);
    void onSessionProperties(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    void watchSession(const QString& path);
    void apply(bool saverActive, bool lockedHint);

    QDBusConnection m_system;
    bool m_saverActive = false;
    bool m_lockedHint = false;
    bool m_saverSilenceTold = false;
    bool m_logindSilenceTold = false;
};

} // namespace pipfield
