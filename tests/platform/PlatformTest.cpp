#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "../support/IsolatedDesktop.h"
#include "platform/DesktopLook.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

namespace pipfield {
namespace {

TEST(SingleInstance, ASecondClaimAsksTheFirstToReopen) {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_TRUE(first.claim());
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);

    // The second launch runs in its own process, as it would on the desktop.
    QProcess second;
    second.start(QCoreApplication::applicationFilePath(), {"--claim", dir.path()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(second.exitCode(), 1) << "the second claim fails";
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened.count() == 1; }, 5000));
}

TEST(SingleInstance, ALockLeftByAKilledGameIsTakenOver) {
    QTemporaryDir dir;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--claim-and-wait", dir.path()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    holder.kill();
    holder.waitForFinished();
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.claim());
}

TEST(TerminationSignals, ArriveOnTheEventLoop) {
    TerminationSignals signals;
    QSignalSpy spy(&signals, &TerminationSignals::terminationRequested);
    std::raise(SIGTERM);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
    std::raise(SIGHUP);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(1).at(0).toInt(), SIGHUP);
}

TEST(DesktopLook, KdeAnimationSpeedZeroMeansNoMotion) {
    QTemporaryDir dir;
    auto write = [&](const char* text) {
        QFile f(dir.filePath("kdeglobals"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        f.close();
        return dir.filePath("kdeglobals");
    };
    EXPECT_TRUE(kdeAnimationsOff(write("[KDE]\nAnimationDurationFactor=0\nLookAndFeelPackage=x\n")));
    EXPECT_FALSE(kdeAnimationsOff(write("[KDE]\nAnimationDurationFactor=0.5\n")));
    EXPECT_FALSE(kdeAnimationsOff(write("[General]\nColorScheme=Breeze\n")));
    EXPECT_FALSE(kdeAnimationsOff(dir.filePath("missing")));
}

} // namespace
} // namespace pipfield

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!pipfield::test::isolateFromDesktop(home)) {
        return 2;
    }
    QCoreApplication app(argc, argv);
    // The test binary doubles as the other process of the single-instance tests.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == "--claim") {
        pipfield::SingleInstance instance(args[2]);
        return instance.claim() ? 0 : 1;
    }
    if (args.size() == 3 && args[1] == "--claim-and-wait") {
        pipfield::SingleInstance instance(args[2]);
        if (!instance.claim()) {
            return 1;
        }
        std::printf("claimed\n");
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
