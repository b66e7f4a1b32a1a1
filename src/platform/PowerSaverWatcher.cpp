#include "platform/PowerSaverWatcher.h"

#include "platform/BusQuestions.h"

#include <array>

namespace pipfield {
namespace {

constexpr BusObject kPortal{"org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                            "org.freedesktop.portal.PowerProfileMonitor"};
const char* const kPortalProperty = "power-saver-enabled";

// power-profiles-daemon under its first name and under the one it took later.
constexpr std::array kDaemons = {
    BusObject{"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "net.hadess.PowerProfiles"},
    BusObject{"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles",
              "org.freedesktop.UPower.PowerProfiles"},
};
const char* const kDaemonProperty = "ActiveProfile";

bool isPowerSaver(const QVariant& profile) {
    return profile.toString() == QLatin1String("power-saver");
}

const QString& propertiesInterface() {
    static const QString name = QStringLiteral("org.freedesktop.DBus.Properties");
    return name;
}

} // namespace

PowerSaverWatcher::PowerSaverWatcher(const QDBusConnection& session, const QDBusConnection& system, QObject* parent)
    : QObject(parent), m_system(system) {
    if (!session.isConnected()) {
        askTheDaemon();
        return;
    }
    QDBusConnection bus = session;
    bus.connect(QString::fromLatin1(kPortal.service), QString::fromLatin1(kPortal.path), propertiesInterface(),
                QStringLiteral("PropertiesChanged"), this, SLOT(onPortalProperties(QString, QVariantMap, QStringList)));
    ask(bus, propertyQuestion(kPortal, kPortalProperty), this, &m_portalSilenceTold,
        [this](const std::optional<QVariant>& on) {
            if (on) {
                m_portalAnswers = true;
                apply(on->toBool());
            } else {
                askTheDaemon();
            }
        });
}

void PowerSaverWatcher::askTheDaemon() {
    for (const BusObject& daemon : kDaemons) {
        m_system.connect(QString::fromLatin1(daemon.service), QString::fromLatin1(daemon.path), propertiesInterface(),
                         QStringLiteral("PropertiesChanged"), this,
                         SLOT(onDaemonProperties(QString, QVariantMap, QStringList)));
        ask(m_system, propertyQuestion(daemon, kDaemonProperty), this, &m_daemonSilenceTold,
            [this](const std::optional<QVariant>& profile) {
                if (profile && !m_portalAnswers) {
                    apply(isPowerSaver(*profile));
                }
            });
    }
}

void PowerSaverWatcher::onPortalProperties(const QString& interface, const QVariantMap& changed,
                                           const QStringList& /*invalidated*/) {
    const auto on = changed.constFind(QString::fromLatin1(kPortalProperty));
    if (interface == QLatin1String(kPortal.interface) && on != changed.cend()) {
        m_portalAnswers = true;
        apply(on->toBool());
    }
}

void PowerSaverWatcher::onDaemonProperties(const QString& interface, const QVariantMap& changed,
                                           const QStringList& /*invalidated*/) {
    const auto profile = changed.constFind(QString::fromLatin1(kDaemonProperty));
    const bool daemon =
        interface == QLatin1String(kDaemons[0].interface) || interface == QLatin1String(kDaemons[1].interface);
    if (daemon && profile != changed.cend() && !m_portalAnswers) {
        apply(isPowerSaver(*profile));
    }
}

void PowerSaverWatcher::apply(bool on) {
    if (on != m_powerSaver) {
        m_powerSaver = on;
        Q_EMIT powerSaverChanged(on);
    }
}

} // namespace pipfield
