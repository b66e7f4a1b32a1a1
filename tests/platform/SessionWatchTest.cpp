#include "platform/PowerSaverWatcher.h"
#include "platform/ScreenLockWatcher.h"
#include "support/MessageLog.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace pipfield {
namespace {

/// A desktop service of the test's own: answers methods and property questions from tables, or never
/// answers at all, and sends the signals the test asks for.
class FakeService final : public QDBusVirtualObject {
public:
    FakeService(QDBusConnection bus, const QString& name, QString path)
        : m_bus(std::move(bus)), m_path(std::move(path)) {
        m_bus.registerVirtualObject(m_path, this);
        m_bus.registerService(name);
    }

    std::map<QString, QVariant> methods;
    std::map<QString, QVariant> properties;
    bool silent = false;

    void signal(const QString& interface, const QString& name, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createSignal(m_path, interface, name);
        message.setArguments(arguments);
        m_bus.send(message);
    }
    void propertyChanged(const QString& interface, const QString& property, const QVariant& value) {
        signal("org.freedesktop.DBus.Properties", "PropertiesChanged",
               {interface, QVariantMap{{property, value}}, QStringList{}});
    }

    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (silent) {
            return true; // taken, and left without a reply
        }
        const bool get = message.member() == QLatin1String("Get") && message.arguments().size() == 2;
        const auto& table = get ? properties : methods;
        const auto found = table.find(get ? message.arguments()[1].toString() : message.member());
        const QVariant value = found == table.end() ? QVariant()
                               : get                ? QVariant::fromValue(QDBusVariant(found->second))
                                                    : found->second;
        connection.send(value.isValid() ? message.createReply(value)
                                        : message.createErrorReply(QDBusError::UnknownProperty, "no such thing"));
        return true;
    }

private:
    QDBusConnection m_bus;
    QString m_path;
};

/// A session bus and a system bus of the test's own, each with a connection for the program and one
/// for the fake services.
class SessionWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_sessionBus.start().isEmpty() || m_systemBus.start().isEmpty()) << "dbus-daemon did not start";
        session = m_sessionBus.connect("session");
        system = m_systemBus.connect("system");
        sessionServices = m_sessionBus.connect("sessionServices");
        systemServices = m_systemBus.connect("systemServices");
        ASSERT_TRUE(session.isConnected() && system.isConnected());
    }

    /// Until every question sent so far has been answered and handled, on both buses.
    void settle() {
        test::settle(session);
        test::settle(system);
    }

    test::PrivateSessionBus m_sessionBus;
    test::PrivateSessionBus m_systemBus;
    QDBusConnection session{QString()};
    QDBusConnection system{QString()};
    QDBusConnection sessionServices{QString()};
    QDBusConnection systemServices{QString()};
};

struct BusName {
    const char* service;
    const char* path;
    const char* interface;
};

class ScreenBusNames : public SessionWatchTest, public ::testing::WithParamInterface<BusName> {};

TEST_P(ScreenBusNames, AnActiveSaverLocksUntilItGoesOff) {
    const BusName name = GetParam();
    FakeService saver(sessionServices, name.service, name.path);
    saver.methods["GetActive"] = true;
    ScreenLockWatcher watcher(session, system);
    QSignalSpy changes(&watcher, &ScreenLockWatcher::lockedChanged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.locked(); }, 5000));
    saver.signal(name.interface, "ActiveChanged", {false});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.locked(); }, 5000));
    saver.signal(name.interface, "ActiveChanged", {true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.locked(); }, 5000));
    EXPECT_EQ(changes.size(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, ScreenBusNames,
    ::testing::Values(BusName{"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                              "org.freedesktop.ScreenSaver"},
                      BusName{"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"},
                      BusName{"org.kde.screensaver", "/ScreenSaver", "org.freedesktop.ScreenSaver"}));

TEST_F(SessionWatchTest, LogindsHintLocksTheSessionItNamesWhateverTheSaverSays) {
    const QString sessionPath = "/org/freedesktop/login1/session/_32";
    FakeService manager(systemServices, "org.freedesktop.login1", "/org/freedesktop/login1");
    manager.methods["GetSession"] = QVariant::fromValue(QDBusObjectPath(sessionPath));
    FakeService loginSession(systemServices, "org.freedesktop.login1", sessionPath);
    loginSession.properties["LockedHint"] = true;
    FakeService saver(sessionServices, "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver");
    saver.methods["GetActive"] = false;
    ScreenLockWatcher watcher(session, system);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.locked(); }, 5000));
    saver.signal("org.gnome.ScreenSaver", "ActiveChanged", {false});
    settle();
    EXPECT_TRUE(watcher.locked()) << "a saver going off does not unlock a session logind calls locked";

    const QString interface = "org.freedesktop.login1.Session";
    loginSession.propertyChanged(interface, "LockedHint", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.locked(); }, 5000));
    // Another property of the session, or the hint of another interface, is no unlocking or locking.
    loginSession.propertyChanged("org.example.Other", "LockedHint", true);
    loginSession.propertyChanged(interface, "IdleHint", true);
    settle();
    EXPECT_FALSE(watcher.locked());
    loginSession.propertyChanged(interface, "LockedHint", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.locked(); }, 5000));
}

TEST_F(SessionWatchTest, WithoutAnyServiceNothingChangesAndNothingIsSaid) {
    test::MessageLog log;
    ScreenLockWatcher lock(session, system);
    PowerSaverWatcher power(session, system);
    QSignalSpy lockChanges(&lock, &ScreenLockWatcher::lockedChanged);
    QSignalSpy powerChanges(&power, &PowerSaverWatcher::powerSaverChanged);
    settle();
    settle(); // the daemon is asked only once the portal has failed
    EXPECT_FALSE(lock.locked());
    EXPECT_FALSE(power.powerSaver());
    EXPECT_EQ(lockChanges.size() + powerChanges.size(), 0);
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(SessionWatchTest, ServicesThatNeverAnswerHoldNothingUp) {
    FakeService saver(sessionServices, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver");
    saver.silent = true;
    FakeService portal(sessionServices, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop");
    portal.silent = true;
    ScreenLockWatcher lock(session, system);
    PowerSaverWatcher power(session, system);
    EXPECT_FALSE(lock.locked());
    // While their first questions wait, what the services announce is followed.
    saver.signal("org.freedesktop.ScreenSaver", "ActiveChanged", {true});
    portal.propertyChanged("org.freedesktop.portal.PowerProfileMonitor", "power-saver-enabled", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lock.locked() && power.powerSaver(); }, 5000));
}

TEST_F(SessionWatchTest, ThePortalsPowerSaverIsFollowedBothWaysAndSpeaksForTheDaemon) {
    FakeService portal(sessionServices, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop");
    portal.properties["power-saver-enabled"] = false;
    FakeService daemon(systemServices, "net.hadess.PowerProfiles", "/net/hadess/PowerProfiles");
    daemon.properties["ActiveProfile"] = "power-saver";
    PowerSaverWatcher watcher(session, system);
    QSignalSpy changes(&watcher, &PowerSaverWatcher::powerSaverChanged);
    settle();
    settle();
    EXPECT_FALSE(watcher.powerSaver());
    const QString monitor = "org.freedesktop.portal.PowerProfileMonitor";
    portal.propertyChanged(monitor, "power-saver-enabled", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.powerSaver(); }, 5000));
    daemon.propertyChanged("net.hadess.PowerProfiles", "ActiveProfile", "balanced");
    settle();
    EXPECT_TRUE(watcher.powerSaver());
    portal.propertyChanged(monitor, "power-saver-enabled", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.powerSaver(); }, 5000));
    EXPECT_EQ(changes.size(), 2);
}

class PowerDaemonNames : public SessionWatchTest, public ::testing::WithParamInterface<BusName> {};

TEST_P(PowerDaemonNames, WithoutAPortalTheDaemonsProfileIsFollowedBothWays) {
    const BusName name = GetParam();
    FakeService daemon(systemServices, name.service, name.path);
    daemon.properties["ActiveProfile"] = "power-saver";
    PowerSaverWatcher watcher(session, system);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.powerSaver(); }, 5000));
    const QString interface = name.interface;
    daemon.propertyChanged(interface, "ActiveProfile", "performance");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher.powerSaver(); }, 5000));
    daemon.propertyChanged(interface, "ActiveProfile", "power-saver");
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.powerSaver(); }, 5000));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PowerDaemonNames,
    ::testing::Values(BusName{"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "net.hadess.PowerProfiles"},
                      BusName{"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles",
                              "org.freedesktop.UPower.PowerProfiles"}));

} // namespace
} // namespace pipfield
