#include <gtest/gtest.h>

#include <QSignalSpy>

#include "GameTestSupport.h"
#include "game/DesktopNotifier.h"
#include "game/NotificationHelper.h"

namespace pipfield::test {
namespace {

const Instant kNoon = localInstant(2026, 10, 14, 12);
const QString kMarker = QString::fromLatin1(kDeliverNotificationArgument);

class DesktopNotifierTest : public testing::Test {
protected:
    std::unique_ptr<DesktopNotifier> makeNotifier() {
        // A connection that is not connected: nothing can reach a real notification service.
        return std::make_unique<DesktopNotifier>(
            QDBusConnection(QStringLiteral("pipfield-test-no-bus")), launcher, clock,
            DesktopNotifier::HandOffTarget{"/opt/pipfield/pipfield", runtime.path()});
    }
    QString pidFile() const { return runtime.filePath("pipfield-crate-full.pid"); }

    QTemporaryDir runtime;
    FakeLauncher launcher;
    FakeClock clock{kNoon};
    const NotificationRequest request{"crate-full", "가득", "팔러 와 주세요", 1800};
};

TEST_F(DesktopNotifierTest, HandsThePendingRequestToASystemdTimer) {
    auto notifier = makeNotifier();
    notifier->add(request);
    launcher.ran.clear();
    clock.advance(299.5);
    notifier->handOff();

    ASSERT_EQ(launcher.ran.size(), 1u);
    EXPECT_EQ(launcher.ran[0].program, "systemd-run");
    const QStringList& args = launcher.ran[0].arguments;
    EXPECT_TRUE(args.contains("--user"));
    EXPECT_TRUE(args.contains("--unit=pipfield-crate-full"));
    EXPECT_TRUE(args.contains("--on-active=1501s")) << args.join(' ').toStdString();
    EXPECT_TRUE(args.contains("--timer-property=AccuracySec=1s"));
    const QStringList command = args.mid(args.indexOf("--") + 1);
    EXPECT_EQ(command, QStringList({"/opt/pipfield/pipfield", kMarker, "--title", "가득", "--body", "팔러 와 주세요"}));
    EXPECT_TRUE(launcher.detached.empty());
    EXPECT_FALSE(notifier->pending());
}

TEST_F(DesktopNotifierTest, WithoutAUserManagerAWaitingProcessTakesItAndIsRemembered) {
    launcher.systemdRunExit = 1;
    auto notifier = makeNotifier();
    notifier->add(request);
    notifier->handOff();

    ASSERT_EQ(launcher.detached.size(), 1u);
    const qint64 due = std::chrono::duration_cast<std::chrono::seconds>(kNoon.time_since_epoch()).count() + 1800;
    EXPECT_EQ(launcher.detached[0].program, "/opt/pipfield/pipfield");
    EXPECT_EQ(launcher.detached[0].arguments,
              QStringList({kMarker, "--title", "가득", "--body", "팔러 와 주세요", "--at", QString::number(due)}));
    EXPECT_EQ(readFile(pidFile()), "4242");
}

TEST_F(DesktopNotifierTest, TheNextRunWithdrawsWhatWasHandedOff) {
    launcher.systemdRunExit = 1;
    makeNotifier()->add(request);
    makeNotifier()->handOff(); // nothing pending in this one
    EXPECT_TRUE(launcher.detached.empty());
    {
        auto first = makeNotifier();
        first->add(request);
        first->handOff();
    }
    launcher.ran.clear();

    auto second = makeNotifier();
    second->remove("crate-full");
    ASSERT_EQ(launcher.ran.size(), 1u);
    EXPECT_EQ(launcher.ran[0].program, "systemctl");
    EXPECT_EQ(launcher.ran[0].arguments,
              QStringList({"--user", "stop", "pipfield-crate-full.timer", "pipfield-crate-full.service"}));
    ASSERT_EQ(launcher.stopped.size(), 1u);
    EXPECT_EQ(launcher.stopped[0], std::make_pair(qint64{4242}, kMarker));
    EXPECT_FALSE(QFile::exists(pidFile()));

    // Later plans of the same run only touch the request it holds itself.
    second->add(request);
    second->remove("crate-full");
    EXPECT_EQ(launcher.ran.size(), 1u);
}

TEST_F(DesktopNotifierTest, DeliversWhenTheWaitIsOverUnlessRemovedOrReplaced) {
    auto notifier = makeNotifier();
    QSignalSpy delivered(notifier.get(), &DesktopNotifier::delivered);

    notifier->add({"crate-full", "old", "", 0.02});
    notifier->remove("crate-full");
    notifier->add({"crate-full", "first", "", 0.02});
    notifier->add({"crate-full", "replaced", "", 0.03});
    clock.advance(1);
    ASSERT_TRUE(delivered.wait(5000));
    ASSERT_EQ(delivered.count(), 1);
    EXPECT_EQ(delivered.at(0).at(0).value<NotificationRequest>().title, "replaced");
    EXPECT_FALSE(notifier->pending());
}

} // namespace
} // namespace pipfield::test
