#include "platform/DesktopNotifier.h"

#include "platform/NotificationHelper.h"
#include "support/GameTestSupport.h"

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

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
    const qint64 due = std::chrono::duration_cast<std::chrono::seconds>(kNoon.time_since_epoch()).count() + 1800;
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
    // A wall-clock time, so that a suspended computer does not push the notification back: the crate fills half an
    // hour after noon in Seoul, which is 03:00 UTC.
    for (const QString& wanted :
         {QStringLiteral("--user"), QStringLiteral("--unit=pipfield-crate-full"),
          QStringLiteral("--on-calendar=2026-10-14 03:30:00 UTC"), QStringLiteral("--timer-property=AccuracySec=1s")}) {
        EXPECT_TRUE(args.contains(wanted)) << wanted.toStdString() << " missing from " << args.join(' ').toStdString();
    }
    EXPECT_FALSE(args.join(' ').contains("--on-active"));
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
    EXPECT_EQ(launcher.detached[0].program, "/opt/pipfield/pipfield");
    EXPECT_EQ(launcher.detached[0].arguments,
              QStringList({kMarker, "--title", "가득", "--body", "팔러 와 주세요", "--at", QString::number(due)}));
    EXPECT_EQ(readFile(pidFile()), "4242");
}

TEST_F(DesktopNotifierTest, TheNextRunWithdrawsOnlyTheHolderOfWhatWasHandedOff) {
    // Nothing handed off: the next run starts no process at all.
    makeNotifier()->handOff();
    makeNotifier()->remove("crate-full");
    EXPECT_TRUE(launcher.ran.empty());
    EXPECT_TRUE(launcher.background.empty());
    EXPECT_TRUE(launcher.stopped.empty());

    // A waiting helper took it: the next run ends that helper and asks nothing of systemd.
    launcher.systemdRunExit = 1;
    {
        auto first = makeNotifier();
        first->add(request);
        first->handOff();
    }
    auto second = makeNotifier();
    second->remove("crate-full");
    EXPECT_TRUE(launcher.background.empty());
    ASSERT_EQ(launcher.stopped.size(), 1u);
    EXPECT_EQ(launcher.stopped[0], std::make_pair(qint64{4242}, kMarker));
    EXPECT_FALSE(QFile::exists(pidFile()));

    // Later plans of the same run only touch the request it holds itself.
    second->add(request);
    second->remove("crate-full");
    EXPECT_EQ(launcher.stopped.size(), 1u);

    // A systemd timer took it: the next run stops that unit, in the background, and no helper.
    launcher.systemdRunExit = 0;
    {
        auto third = makeNotifier();
        third->add(request);
        third->handOff();
    }
    makeNotifier()->add(request);
    ASSERT_EQ(launcher.background.size(), 1u);
    EXPECT_EQ(launcher.background[0].program, "systemctl");
    EXPECT_EQ(launcher.background[0].arguments,
              QStringList({"--user", "stop", "pipfield-crate-full.timer", "pipfield-crate-full.service"}));
    EXPECT_EQ(launcher.stopped.size(), 1u);
    // Withdrawn once; a run after that has nothing left to withdraw.
    makeNotifier()->remove("crate-full");
    EXPECT_EQ(launcher.background.size(), 1u);
}

} // namespace
} // namespace pipfield::test
