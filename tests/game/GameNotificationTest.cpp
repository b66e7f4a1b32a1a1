#include "support/GameTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

using Kind = FakeNotifier::Call::Kind;

Orchard fillingOrchard() {
    // Enough fruit that the harvester never empties the trees and room it does not fill for an hour.
    Orchard o = bareOrchard(std::vector<Tree>(6, Tree{TreeKind::eureka, 300, 0, 6}));
    o.workers.set(WorkerRole::harvester, 1);
    o.crateLevel = 5;
    o.coins = 5000;
    return o;
}

TEST(GameNotifications, SwitchingOffRemovesAndSwitchingOnPlansAtOnce) {
    GameWorld world(kNoon);
    auto game = world.launch(fillingOrchard(), kNoon);
    QSignalSpy spy(game.get(), &Game::notificationsOnChanged);

    game->setNotificationsOn(false);
    EXPECT_TRUE(world.notifier.pending.empty());
    EXPECT_FALSE(world.defaults.boolValue("notificationsOn"));
    EXPECT_EQ(spy.count(), 1);

    // The stored value is written again and the plan redone, but nobody is told.
    world.defaults.setValue("notificationsOn", true);
    const std::size_t callsBefore = world.notifier.calls.size();
    game->setNotificationsOn(false);
    EXPECT_FALSE(world.defaults.boolValue("notificationsOn"));
    EXPECT_EQ(world.notifier.calls.size(), callsBefore + 1);
    EXPECT_EQ(spy.count(), 1);

    game->setNotificationsOn(true);
    EXPECT_TRUE(world.notifier.only());
    EXPECT_EQ(spy.count(), 2);

    // The switch survives a restart.
    game->setNotificationsOn(false);
    EXPECT_FALSE(world.launch()->notificationsOn());
}

TEST(GameNotifications, AFullCrateOrNoHarvesterGetsNone) {
    Orchard full = fillingOrchard();
    full.crate.set(TreeKind::eureka, full.crateCapacity());
    Orchard nobody = fillingOrchard();
    nobody.workers = {};
    for (const Orchard& o : {full, nobody}) {
        GameWorld world(kNoon);
        auto game = world.launch(o, kNoon);
        EXPECT_EQ(world.notifier.count(Kind::remove), 1u);
        EXPECT_TRUE(world.notifier.pending.empty());
    }
}

TEST(GameNotifications, LaunchPlansTheCrateFullNotificationAndReplansEveryTenMinutesAndAfterChanges) {
    GameWorld world(kNoon);
    auto game = world.launch(fillingOrchard(), kNoon);
    const std::optional<NotificationRequest> pending = world.notifier.only();
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->identifier, "crate-full");
    EXPECT_EQ(pending->title, QStringLiteral("창고가 레몬으로 가득 찼어요"));
    EXPECT_EQ(pending->body, QStringLiteral("팔러 와 주세요. 일꾼들이 기다리고 있어요."));
    EXPECT_EQ(pending->delaySeconds, *game->live().timeUntilCrateFull(Season::autumn));

    auto plans = [&] { return world.notifier.count(Kind::remove); };
    ASSERT_EQ(plans(), 1u);

    game->tick(addSeconds(kNoon, 600));
    EXPECT_EQ(plans(), 1u);
    game->tick(addSeconds(kNoon, 600.5));
    EXPECT_EQ(plans(), 2u);

    world.clock.set(addSeconds(kNoon, 601));
    EXPECT_EQ(game->harvest(6), 0);
    EXPECT_EQ(plans(), 2u);
    const auto& trees = game->live().trees;
    const auto bearing = std::find_if(trees.begin(), trees.end(), [](const Tree& t) { return t.fruit > 0; });
    ASSERT_NE(bearing, trees.end());
    EXPECT_GT(game->harvest(bearing - trees.begin()), 0);
    EXPECT_EQ(plans(), 3u);

    // Selling re-plans for the whole refill.
    game->sellAll();
    EXPECT_EQ(plans(), 4u);
    ASSERT_TRUE(world.notifier.only());
    EXPECT_EQ(world.notifier.only()->delaySeconds, *game->live().timeUntilCrateFull(Season::autumn));

    EXPECT_FALSE(game->buy(Purchase::tree(TreeKind::kumquat)));
    EXPECT_EQ(plans(), 4u);
    EXPECT_TRUE(game->buy(Purchase::crate()));
    EXPECT_EQ(plans(), 5u);
}

TEST(GameNotifications, StatusAskedOnlyWhileNotificationsAreWanted) {
    GameWorld world(kNoon);
    world.defaults.setValue("notificationsOn", false);
    auto game = world.launch();
    game->start();
    EXPECT_EQ(world.notifier.count(Kind::query), 0u);

    game->setNotificationsOn(true);
    ASSERT_EQ(world.notifier.count(Kind::query), 1u);
    game->setNotificationsOn(true);
    EXPECT_EQ(world.notifier.count(Kind::query), 1u);
}

TEST(GameNotifications, DeniedFollowsTheServiceAnswer) {
    GameWorld world(kNoon);
    auto game = world.launch();
    QSignalSpy spy(game.get(), &Game::notificationsDeniedChanged);

    game->start();
    EXPECT_TRUE(game->running());
    EXPECT_EQ(world.notifier.count(Kind::authorization), 1u);
    ASSERT_EQ(world.notifier.answers.size(), 1u);
    world.notifier.answers[0](true);
    EXPECT_TRUE(game->notificationsDenied());

    game->refreshNotificationStatus();
    world.notifier.answers[1](true);
    EXPECT_EQ(spy.count(), 1);
    game->refreshNotificationStatus();
    world.notifier.answers[2](false);
    EXPECT_FALSE(game->notificationsDenied());
    EXPECT_EQ(spy.count(), 2);

    // An answer that arrives after the game is gone is dropped.
    game->refreshNotificationStatus();
    game.reset();
    world.notifier.answers[3](true);
}

} // namespace
} // namespace pipfield::test
