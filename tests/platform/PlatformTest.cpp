#include "platform/DesktopLook.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "platform/X11Desktop.h"
#include "support/GameTestSupport.h"
#include "support/MessageLog.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace pipfield {
namespace {

TEST(SingleInstance, ALockLeftByAKilledGameIsTakenOverAndASecondClaimAsksTheFirstToReopen) {
    QTemporaryDir dir;
    QProcess killed;
    killed.start(PIPFIELD_SINGLE_INSTANCE_CLAIMER, {"--claim-and-wait", dir.path()});
    ASSERT_TRUE(killed.waitForReadyRead(10000));
    killed.kill();
    killed.waitForFinished();
    SingleInstance first(dir.path());
    ASSERT_TRUE(first.claim()) << "the killed game's lock is taken over";
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);

    // The second launch runs in its own process, as it would on the desktop.
    QProcess second;
    second.start(PIPFIELD_SINGLE_INSTANCE_CLAIMER, {"--claim", dir.path()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(second.exitCode(), 1) << "the second claim fails";
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, 5000));
}

TEST(SingleInstance, WithoutAnyPlaceForTheLockTheGameStillRuns) {
    // A runtime "folder" that is a file: nothing can be created in it, whoever runs the test.
    QTemporaryDir dir;
    test::writeFile(dir.filePath("not-a-folder"), "");
    test::MessageLog log("pipfield.desktop");
    SingleInstance instance(dir.filePath("not-a-folder/runtime"));
    EXPECT_TRUE(instance.claim()) << "the game starts instead of leaving";
    EXPECT_TRUE(instance.unguarded());
    EXPECT_EQ(log.warnings.size(), 1) << "running unguarded is said";

    SingleInstance guarded(dir.path());
    EXPECT_TRUE(guarded.claim());
    EXPECT_FALSE(guarded.unguarded());
}

TEST(TerminationSignals, ArriveOnTheEventLoop) {
    TerminationSignals signals;
    QSignalSpy spy(&signals, &TerminationSignals::terminationRequested);
    for (const int raised : {SIGTERM, SIGHUP}) {
        std::raise(raised);
        ASSERT_TRUE(spy.wait(5000)) << raised;
        EXPECT_EQ(spy.takeFirst().at(0).toInt(), raised);
    }
}

TEST(DesktopLook, KdeAnimationSpeedZeroMeansNoMotion) {
    QTemporaryDir dir;
    auto write = [&](const char* text) {
        test::writeFile(dir.filePath("kdeglobals"), text);
        return dir.filePath("kdeglobals");
    };
    EXPECT_TRUE(kdeAnimationsOff(write("[KDE]\nAnimationDurationFactor=0\nLookAndFeelPackage=x\n")));
    EXPECT_FALSE(kdeAnimationsOff(write("[KDE]\nAnimationDurationFactor=0.5\n")));
    EXPECT_FALSE(kdeAnimationsOff(write("[General]\nColorScheme=Breeze\n")));
}

/// A settings portal that answers every question with the error of one that timed out.
class SilentPortal final : public QDBusVirtualObject {
public:
    QString introspect(const QString& /*path*/) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        connection.send(message.createErrorReply(QDBusError::NoReply, QStringLiteral("no answer")));
        return true;
    }
};

TEST(DesktopLook, AMissingPortalIsNoFailureAndOneThatDoesNotAnswerIsOneWarningForAllItsSettings) {
    test::PrivateSessionBus bus;
    const QString address = bus.start();
    ASSERT_FALSE(address.isEmpty()) << "dbus-daemon did not start";
    // The process's session bus for this test only: the daemon goes with it.
    const QByteArray before = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const auto restore = qScopeGuard([&before] {
        before.isNull() ? qunsetenv("DBUS_SESSION_BUS_ADDRESS") : qputenv("DBUS_SESSION_BUS_ADDRESS", before);
    });
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    test::MessageLog log;
    const auto warnings = [&] { return log.warnings.filter(QStringLiteral("pipfield.look: ")); };
    // Both settings are asked for before the first answer comes.
    const auto settle = [] { test::settle(QDBusConnection::sessionBus()); };
    {
        DesktopLook missing;
        settle();
        EXPECT_TRUE(warnings().isEmpty()) << warnings().join(QLatin1Char('\n')).toStdString();
        EXPECT_FALSE(missing.prefersDark().has_value());
    }
    QDBusConnection portalSide = bus.connect(QStringLiteral("portal"));
    SilentPortal portal;
    ASSERT_TRUE(portalSide.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal));
    ASSERT_TRUE(portalSide.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    DesktopLook look;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warnings().isEmpty(); }, 10000));
    settle();
    ASSERT_EQ(warnings().size(), 1);
    EXPECT_TRUE(warnings()[0].contains(QLatin1String("settings portal"))) << warnings()[0].toStdString();
    EXPECT_FALSE(look.prefersDark().has_value());
}

TEST(PanelStyle, ChosenByTheRunningWindowManager) {
    // i3 would take a dock into a bar that reserves a row of the screen; the others keep docks free.
    EXPECT_EQ(panelStyleFor("i3"), PanelStyle::FloatingUtility);
    for (const char* dock : {"Openbox", "Xfwm4", "KWin", "Mutter (Muffin)", "GNOME Shell", ""}) {
        EXPECT_EQ(panelStyleFor(dock), PanelStyle::Dock) << dock;
    }
}

TEST(ScreenScale, DevicePixelsToLogicalPerScreen) {
    // Qt keeps each screen's origin in device pixels and scales its size: a 2x screen of 3840 x 2160
    // pixels right of a 1x full-HD one is (1920, 0, 1920, 1080) in logical coordinates.
    const std::vector<ScreenScale> screens{{QRect(0, 0, 1920, 1080), 1.0}, {QRect(1920, 0, 1920, 1080), 2.0}};
    EXPECT_EQ(toLogical(QRect(0, 0, 1920, 1080), screens), QRectF(0, 0, 1920, 1080));
    EXPECT_EQ(toLogical(QRect(1920, 0, 3840, 2160), screens), QRectF(1920, 0, 1920, 1080))
        << "the second screen's origin is not divided by its ratio";
    EXPECT_EQ(toLogical(QRect(2020, 200, 400, 100), screens), QRectF(1970, 100, 200, 50));
    EXPECT_EQ(toLogical(QRect(5, 5, 10, 10), {}), QRectF(5, 5, 10, 10));
}

} // namespace
} // namespace pipfield
