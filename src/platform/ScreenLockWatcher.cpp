#include "platform/ScreenLockWatcher.h"

#include "platform/BusQuestions.h"

#include <QDBusObjectPath>

#include <array>

namespace pipfield {
namespace {

// The same question under the names desktops answer it by; a desktop usually has one of them (KDE
// answers two, alike).
constexpr std::array kScreenSavers = {
    BusObject{"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
    BusObject{"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"},
    BusObject{"org.kde.screensaver", "/ScreenSaver", "org.freedesktop.ScreenSaver"},
};

constexpr BusObject kLogin{"org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager"};
const char* const kSessionInterface = "org.freedesktop.login1.Session";

} // namespace

ScreenLockWatcher::ScreenLockWatcher(const QDBusConnection& session, const QDBusConnection& system, QObject* parent)
    : QObject(parent), m_system(system) {
    if (session.isConnected()) {
        QDBusConnection bus = session;
        for (const BusObject& saver : kScreenSavers) {
            bus.connect(QString::fromLatin1(saver.service), QString::fromLatin1(saver.path),
                        QString::fromLatin1(saver.interface), QStringLiteral("ActiveChanged"), this,
                        SLOT(onSaverActive(bool)));
            ask(bus, methodCall(saver, "GetActive"), this, &m_saverSilenceTold,
                [this](const std::optional<QVariant>& active) {
                    // A saver that is off says nothing that another one that is on should be overruled by.
                    if (active && active->toBool()) {
                        onSaverActive(true);
                    }
                });
        }
    }
    QDBusMessage mine = methodCall(kLogin, "GetSession");
    mine << QStringLiteral("auto"); // the session this program runs in
    ask(m_system, mine, this, &m_logindSilenceTold, [this](const std::optional<QVariant>& path) {
        if (path && path->canConvert<QDBusObjectPath>()) {
            watchSession(path->value<QDBusObjectPath>().path());
        }
    });
}

void ScreenLockWatcher::watchSession(const QString& path) {
    m_system.connect(QString::fromLatin1(kLogin.service), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                     QStringLiteral("PropertiesChanged"), this,
                     SLOT(onSessionProperties(QString, QVariantMap, QStringList)));
    const QByteArray pathBytes = path.toLatin1();
    const BusObject session{kLogin.service, pathBytes.constData(), kSessionInterface};
    ask(m_system, propertyQuestion(session, "LockedHint"), this, &m_logindSilenceTold,
        [this](const std::optional<QVariant>& hint) {
            if (hint) {
                apply(m_saverActive, hint->toBool());
            }
        });
}

void ScreenLockWatcher::onSaverActive(bool active) {
    apply(active, m_lockedHint);
}

void ScreenLockWatcher::onSessionProperties(const QString& interface, const QVariantMap& changed,
                                            const QStringList& /*invalidated*/) {
    const auto hint = changed.constFind(QStringLiteral("LockedHint"));
    if (interface == QLatin1String(kSessionInterface) && hint != changed.cend()) {
        apply(m_saverActive, hint->toBool());
    }
}

void ScreenLockWatcher::apply(bool saverActive, bool lockedHint) {
    const bool before = locked();
    m_saverActive = saverActive;
    m_lockedHint = lockedHint;
    if (locked() != before) {
        Q_EMIT lockedChanged(locked());
    }
}

} // namespace pipfield
