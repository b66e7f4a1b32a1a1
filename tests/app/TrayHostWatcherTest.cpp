#include "app/TrayHostWatcher.h"

#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

// A panel with a StatusNotifierItem host coming up on a private session bus after the game started.
TEST(TrayHostWatcher, AHostThatComesUpLaterIsNoticedOnlyWhileTheIconIsInNoTray) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    test::PrivateSessionBus bus;
    ASSERT_FALSE(bus.start().isEmpty());
    QDBusConnection game = bus.connect("pipfield-game");
    QDBusConnection panel = bus.connect("pipfield-panel");
    ASSERT_TRUE(game.isConnected() && panel.isConnected());

    bool iconShown = false;
    TrayHostWatcher watcher(game, [&] { return iconShown; });
    QSignalSpy appeared(&watcher, &TrayHostWatcher::hostAppeared);
    test::settle(game); // the panel comes up later: after the watcher's subscriptions have reached the bus
    ASSERT_TRUE(panel.registerService(TrayHostWatcher::kWatcherService));
    EXPECT_TRUE(QTest::qWaitFor([&] { return appeared.count() == 1; }, 5000));

    // A second host registering with the running watcher, while the icon shows in a tray already.
    iconShown = true;
    const QDBusMessage hostRegistered = QDBusMessage::createSignal(
        "/StatusNotifierWatcher", TrayHostWatcher::kWatcherService, "StatusNotifierHostRegistered");
    ASSERT_TRUE(panel.send(hostRegistered));
    // Once the panel's signal has reached the daemon and the daemon has passed it on, nothing came.
    test::settle(panel);
    test::settle(game);
    EXPECT_EQ(appeared.count(), 1);
    iconShown = false;
    ASSERT_TRUE(panel.send(hostRegistered));
    EXPECT_TRUE(QTest::qWaitFor([&] { return appeared.count() == 2; }, 5000));
}

} // namespace
} // namespace pipfield
