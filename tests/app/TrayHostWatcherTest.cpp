#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/TrayHostWatcher.h"

namespace pipfield {
namespace {

const char* kBusConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// A panel with a StatusNotifierItem host coming up on a private session bus after the game started.
TEST(TrayHostWatcher, AHostThatComesUpLaterIsNoticedOnlyWhileTheIconIsInNoTray) {
    QTemporaryDir dir;
    QFile config(dir.filePath("bus.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QString::fromLatin1(kBusConfig).arg(dir.path()).toUtf8());
    config.close();
    QProcess daemon;
    daemon.start("dbus-daemon", {"--nofork", "--print-address=1", "--config-file=" + config.fileName()});
    if (!daemon.waitForStarted(10000)) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    while (!daemon.canReadLine()) {
        ASSERT_TRUE(daemon.waitForReadyRead(10000));
    }
    const QString address = QString::fromUtf8(daemon.readLine().trimmed());
    QDBusConnection game = QDBusConnection::connectToBus(address, "pipfield-game");
    QDBusConnection panel = QDBusConnection::connectToBus(address, "pipfield-panel");
    ASSERT_TRUE(game.isConnected() && panel.isConnected());

    bool iconShown = false;
    TrayHostWatcher watcher(game, [&] { return iconShown; });
    QSignalSpy appeared(&watcher, &TrayHostWatcher::hostAppeared);
    ASSERT_TRUE(panel.registerService(TrayHostWatcher::kWatcherService));
    EXPECT_TRUE(QTest::qWaitFor([&] { return appeared.count() == 1; }, 5000));

    // A second host registering with the running watcher, while the icon shows in a tray already.
    iconShown = true;
    const QDBusMessage hostRegistered = QDBusMessage::createSignal(
        "/StatusNotifierWatcher", TrayHostWatcher::kWatcherService, "StatusNotifierHostRegistered");
    ASSERT_TRUE(panel.send(hostRegistered));
    // Negative check: nothing comes within a second.
    QTest::qWait(1000);
    EXPECT_EQ(appeared.count(), 1);
    iconShown = false;
    ASSERT_TRUE(panel.send(hostRegistered));
    EXPECT_TRUE(QTest::qWaitFor([&] { return appeared.count() == 2; }, 5000));

    QDBusConnection::disconnectFromBus("pipfield-game");
    QDBusConnection::disconnectFromBus("pipfield-panel");
    daemon.terminate();
    daemon.waitForFinished();
}

} // namespace
} // namespace pipfield
