#include "game/WelcomeBack.h"
#include "support/GameTestSupport.h"
#include "support/PlainSteps.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

using Kind = FakeNotifier::Call::Kind;

// Three harvesters and full trees; the crate fills in two hours.
Orchard busyOrchard() {
    Orchard o = bareOrchard(std::vector<Tree>(8, Tree{TreeKind::eureka, 300, 0, 14}));
    o.workers.set(WorkerRole::harvester, 3);
    o.crateLevel = 8;
    o.crate.set(TreeKind::eureka, 5);
    return o;
}

TEST(GameWelcomeBack, ALongAbsenceIsToldFromTheCatchUpItself) {
    const Orchard o = busyOrchard();
    GameWorld world(kNoon);
    auto game = world.launch(o, addSeconds(kNoon, -3 * 3600.0));

    // The absence replayed by the plain rules.
    Orchard slow = o;
    const std::optional<double> filled = stepPlainly(slow, 3 * 3600.0, Season::autumn);
    const std::int64_t picked = slow.totals.harvested - o.totals.harvested;
    ASSERT_TRUE(filled) << "the fixture must fill its crate on the way";
    ASSERT_GT(*filled, 3600);
    ASSERT_TRUE(game->welcomeBack());
    EXPECT_EQ(*game->welcomeBack(), (WelcomeBack{picked, slow.crateCount(), filled}));
    EXPECT_EQ(slow.crateCount(), o.crateCapacity());

    // The wording itself is pinned by the text's own tests; here the game must tell this absence.
    const QString sentence = welcomeBackText(*game->welcomeBack());
    EXPECT_TRUE(sentence.contains(QString::number(picked))) << sentence.toStdString();
    EXPECT_EQ(game->welcomeBackText(), sentence);

    ASSERT_EQ(world.notifier.count(Kind::show), 1u);
    const auto note = std::find_if(world.notifier.calls.begin(), world.notifier.calls.end(),
                                   [](const FakeNotifier::Call& c) { return c.kind == Kind::show; });
    EXPECT_EQ(note->request.title, QStringLiteral("어서 오세요"));
    EXPECT_EQ(note->request.body, sentence);
    for (const FakeNotifier::Call& c : world.notifier.calls) {
        EXPECT_TRUE(c.kind != Kind::add || c.request.identifier == "crate-full") << "told at once, not planned";
    }
}

TEST(GameWelcomeBack, TheCrateFullPlanStaysBesideIt) {
    Orchard roomy = busyOrchard();
    roomy.crateLevel = Orchard::maxCrateLevel;
    GameWorld world(kNoon);
    auto game = world.launch(roomy, addSeconds(kNoon, -1800));
    ASSERT_TRUE(game->welcomeBack());
    EXPECT_FALSE(game->welcomeBack()->filledAfter);
    EXPECT_EQ(world.notifier.count(Kind::show), 1u);
    ASSERT_TRUE(world.notifier.only());
    EXPECT_EQ(world.notifier.only()->identifier, "crate-full");
}

TEST(GameWelcomeBack, ShortAbsencesAndDemoModeSayNothing) {
    const Orchard o = busyOrchard();
    {
        GameWorld world(kNoon);
        auto game = world.launch(o, addSeconds(kNoon, -599));
        EXPECT_FALSE(game->welcomeBack());
        EXPECT_EQ(game->welcomeBackText(), QString());
        EXPECT_EQ(world.notifier.count(Kind::show), 0u);

        // Ten minutes exactly, later in the same run (the computer slept): told then.
        QSignalSpy spy(game.get(), &Game::welcomeBackChanged);
        world.clock.advance(600);
        game->tick(world.clock.now());
        EXPECT_EQ(spy.count(), 1);
        ASSERT_TRUE(game->welcomeBack());
        EXPECT_EQ(world.notifier.count(Kind::show), 1u);
    }
    {
        GameWorld world(kNoon, {{QStringLiteral("demo"), QStringLiteral("late")}});
        auto game = world.launch();
        world.clock.advance(7200);
        game->tick(world.clock.now());
        EXPECT_FALSE(game->welcomeBack());
        EXPECT_EQ(world.notifier.count(Kind::show), 0u);
    }
}

TEST(GameWelcomeBack, NotificationsOffStillTellsTheWindow) {
    GameWorld world(kNoon);
    world.defaults.setValue("notificationsOn", false);
    auto game = world.launch(busyOrchard(), addSeconds(kNoon, -3600));
    EXPECT_TRUE(game->welcomeBack());
    EXPECT_FALSE(game->welcomeBackText().isEmpty());
    EXPECT_EQ(world.notifier.count(Kind::show), 0u);
}

TEST(GameWelcomeBack, ACrateFullBeforeLeavingAndAnIdleOrchardReadAsSuch) {
    Orchard full = busyOrchard();
    full.crate.set(TreeKind::eureka, full.crateCapacity());
    GameWorld world(kNoon);
    auto game = world.launch(full, addSeconds(kNoon, -86400.0));
    ASSERT_TRUE(game->welcomeBack());
    EXPECT_EQ(*game->welcomeBack(), (WelcomeBack{0, full.crateCapacity(), 0.0}));
    EXPECT_EQ(game->welcomeBackText(),
              QStringLiteral("창고가 가득 차 있어서 열매 %1개가 그대로 기다리고 있어요").arg(full.crateCapacity()));

    // Nobody to pick: nothing picked, the crate as it was.
    Orchard idle = busyOrchard();
    idle.workers = {};
    GameWorld quiet(kNoon);
    auto still = quiet.launch(idle, addSeconds(kNoon, -86400.0));
    EXPECT_EQ(*still->welcomeBack(), (WelcomeBack{0, 5, std::nullopt}));
    EXPECT_EQ(still->welcomeBackText(), QStringLiteral("그동안 딴 열매는 없고, 창고에 5개가 있어요"));
}

TEST(GameWelcomeBack, StaysUntilTheNextSale) {
    GameWorld world(kNoon);
    auto game = world.launch(busyOrchard(), addSeconds(kNoon, -7200));
    ASSERT_TRUE(game->welcomeBack());
    QSignalSpy spy(game.get(), &Game::welcomeBackChanged);

    world.clock.advance(30);
    game->tick(world.clock.now());
    EXPECT_TRUE(game->welcomeBack()) << "a short tick keeps it";

    game->sellAll();
    EXPECT_FALSE(game->welcomeBack());
    EXPECT_EQ(spy.count(), 1);
    // Not persisted: the next launch after a short while has nothing to tell.
    game->save();
    game.reset();
    world.clock.advance(60);
    EXPECT_FALSE(world.launch()->welcomeBack());
}

TEST(WelcomeBackText, DurationsInMinutesHoursAndDays) {
    const QString head = QStringLiteral("그동안 열매 12개를 땄고, 창고는 ");
    const QString tail = QStringLiteral(" 만에 가득 차서 40개가 기다리고 있어요");
    // Half a second after the player left is a crate that filled, not one that was full already.
    const std::pair<double, const char*> durations[] = {
        {0.5, "1분"},   {3600, "1시간"},        {3605, "1시간 1분"}, {2 * 86400.0 + 3 * 3600 + 59, "2일 3시간"},
        {86400, "1일"}, {86340, "23시간 59분"}, {90000, "1일 1시간"}};
    for (const auto& [seconds, said] : durations) {
        EXPECT_EQ(welcomeBackText({12, 40, seconds}), head + QString::fromUtf8(said) + tail) << seconds;
    }
    EXPECT_EQ(welcomeBackText({7, 9, std::nullopt}),
              QStringLiteral("그동안 열매 7개를 따서 창고에 9개가 기다리고 있어요"));
    EXPECT_EQ(welcomeBackText({1, 9, std::nullopt}),
              QStringLiteral("그동안 열매 1개를 따서 창고에 9개가 기다리고 있어요"));
}

} // namespace
} // namespace pipfield::test
