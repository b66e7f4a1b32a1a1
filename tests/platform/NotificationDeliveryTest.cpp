#include "platform/DesktopNotifier.h"
#include "platform/NotificationHelper.h"
#include "platform/SystemProcessLauncher.h"
#include "support/GameTestSupport.h"
#include "support/MessageLog.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <csignal>

namespace pipfield::test {

/// Stands in for the desktop's notification service on a private bus.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    /// What each notification showed: its application, title, body, desktop entry and sound.
    std::vector<QStringList> shown;

public Q_SLOTS:
    uint Notify(const QString& app, uint /*replaces*/, const QString& /*icon*/, const QString& title,
                const QString& body, const QStringList& /*actions*/, const QVariantMap& hints, int /*timeout*/) {
        shown.push_back(
            {app, title, body, hints.value("desktop-entry").toString(), hints.value("sound-name").toString()});
        Q_EMIT notified();
        return static_cast<uint>(shown.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

Q_SIGNALS:
    void notified();
};

namespace {

/// A private session bus with no services but the ones a test registers.
class PrivateBusTest : public testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        m_address = m_privateBus.start();
        ASSERT_FALSE(m_address.isEmpty());
        m_bus = m_privateBus.connect(QStringLiteral("pipfield-test-bus"));
        ASSERT_TRUE(m_bus.isConnected());
    }
    void serve() {
        ASSERT_TRUE(
            m_bus.registerObject("/org/freedesktop/Notifications", &m_service, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(m_bus.registerService("org.freedesktop.Notifications"));
    }

    QTemporaryDir m_dir;
    test::PrivateSessionBus m_privateBus;
    QString m_address;
    QDBusConnection m_bus{QString()};
    FakeNotificationService m_service;
    FakeClock m_clock{kNoon};
    FakeLauncher m_launcher;
};

TEST_F(PrivateBusTest, TheNotifierDeliversTheLastRequestToTheServiceWhenTheTimeComes) {
    serve();
    DesktopNotifier notifier(m_bus, m_launcher, m_clock, {"pipfield", m_dir.path()});
    QSignalSpy spy(&m_service, &FakeNotificationService::notified);

    // Removed or replaced before their time, the earlier ones would be shown first.
    notifier.add({"crate-full", "old", "", 0.01});
    notifier.remove("crate-full");
    notifier.add({"crate-full", "first", "", 0.01});
    notifier.add({"crate-full", "창고가 레몬으로 가득 찼어요", "팔러 와 주세요.", 0.02});
    m_clock.advance(1);
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_FALSE(notifier.pending());
    EXPECT_EQ(m_service.shown, std::vector<QStringList>({{"Pipfield", "창고가 레몬으로 가득 찼어요", "팔러 와 주세요.",
                                                          "pipfield", "message-new-instant"}}));
}

TEST_F(PrivateBusTest, DeniedExactlyWhenNoServiceAnswersAndSaidOncePerSilence) {
    MessageLog log("pipfield.notify");
    DesktopNotifier notifier(m_bus, m_launcher, m_clock, {"pipfield", m_dir.path()});
    const auto ask = [&] {
        std::optional<bool> answer;
        notifier.queryDenied([&](bool denied) { answer = denied; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 10000));
        return answer;
    };
    EXPECT_EQ(ask(), std::optional(true));
    EXPECT_EQ(ask(), std::optional(true));
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].startsWith("no notification service answers")) << log.warnings[0].toStdString();

    serve();
    EXPECT_EQ(ask(), std::optional(false));
    m_bus.unregisterService("org.freedesktop.Notifications");
    EXPECT_EQ(ask(), std::optional(true));
    EXPECT_EQ(log.warnings.size(), 2);
}

TEST_F(PrivateBusTest, TheWaitingHelperDeliversAtItsTimeOnTheSessionBus) {
    serve();
    QSignalSpy spy(&m_service, &FakeNotificationService::notified);
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
    helper.setProcessEnvironment(env);
    const qint64 due = QDateTime::currentSecsSinceEpoch() + 1;
    helper.start(PIPFIELD_NOTIFICATION_HELPER, helperArguments("가득", "와 주세요", due));

    ASSERT_TRUE(spy.wait(15000));
    EXPECT_GE(QDateTime::currentSecsSinceEpoch(), due);
    EXPECT_EQ(m_service.shown,
              std::vector<QStringList>({{"Pipfield", "가득", "와 주세요", "pipfield", "message-new-instant"}}));
    ASSERT_TRUE(helper.waitForFinished(10000));
    EXPECT_EQ(helper.exitCode(), 0);
}

TEST(SystemProcessLauncher, StopsAWaitingHelperButNotAnotherProgram) {
    SystemProcessLauncher launcher;
    const qint64 farAway = QDateTime::currentSecsSinceEpoch() + 3600;
    const std::optional<qint64> pid =
        launcher.startDetached(PIPFIELD_NOTIFICATION_HELPER, helperArguments("t", "b", farAway));
    ASSERT_TRUE(pid);
    auto alive = [&] {
        // A killed child of a process that never reaps stays as a zombie: count that as gone.
        const std::string stat = readFile(QStringLiteral("/proc/%1/stat").arg(*pid));
        const auto close = stat.rfind(')');
        return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
    };
    auto waitUntil = [](auto condition) { return QTest::qWaitFor(condition, 10000); };
    ASSERT_TRUE(waitUntil([&] {
        return readFile(QStringLiteral("/proc/%1/cmdline").arg(*pid)).find(kDeliverNotificationArgument) !=
               std::string::npos;
    }));

    launcher.stop(*pid, "--some-other-program");
    EXPECT_TRUE(alive());
    launcher.stop(*pid, kDeliverNotificationArgument);
    EXPECT_TRUE(waitUntil([&] { return !alive(); }));
    ::kill(static_cast<pid_t>(*pid), SIGKILL); // in case the stop failed: never leave it waiting an hour
}

// Everything a command prints goes to the program's log under its category, not to the terminal.
TEST(SystemProcessLauncher, WhatCommandsPrintGoesToTheLog) {
    SystemProcessLauncher launcher;
    QLoggingCategory::setFilterRules(QStringLiteral("pipfield.notify=true"));
    MessageLog log;
    const auto logged = [&](const char* text) { return !log.lines.filter(QString::fromUtf8(text)).isEmpty(); };
    EXPECT_EQ(launcher.run("sh", {"-c", "echo no user manager >&2; exit 3"}), 3);
    EXPECT_TRUE(logged("pipfield.notify: sh: no user manager"));

    // A withdrawal of something already gone (systemctl's "not loaded") is no warning, yet it is
    // still in the log for whoever asks for debug lines.
    launcher.runInBackground("sh", {"-c", "echo unit not loaded >&2; exit 5"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return logged("exit code 5"); }, 10000));
    EXPECT_TRUE(logged("unit not loaded"));
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join('\n').toStdString();
    EXPECT_EQ(launcher.run("/nonexistent/systemd-run", {}), -1);
    QLoggingCategory::setFilterRules(QString());
}

} // namespace
} // namespace pipfield::test

#include "NotificationDeliveryTest.moc"
