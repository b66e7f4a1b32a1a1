#include "support/GameTestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

// Wednesday 15 July 2026, noon in Seoul: summer, ISO week 2026-W29.

TEST(GameClock, APaintTakesATickDueSoonAndTheTicksAfterItKeepTheirPace) {
    GameWorld world(kSummerNoon);
    auto game = world.launch();
    QSignalSpy ticked(game.get(), &Game::ticked);
    game->shareWakeUp(1000);
    EXPECT_EQ(ticked.size(), 0) << "not running yet";
    EXPECT_EQ(game->msToNextTick(), -1);

    game->start();
    EXPECT_GT(game->msToNextTick(), 800);
    game->shareWakeUp(100);
    EXPECT_EQ(ticked.size(), 0) << "not due for most of a second";
    game->shareWakeUp(1000);
    QElapsedTimer since;
    since.start();
    EXPECT_EQ(ticked.size(), 1);
    const qint64 planned = game->msToNextTick();
    EXPECT_GT(planned, 1500) << "the next is a second after this one was due, not after now";
    // Nothing painting: the game's own timer ticks when planned (a coarse timer may come 5 % early).
    ASSERT_TRUE(ticked.wait(4000));
    EXPECT_EQ(ticked.size(), 2);
    EXPECT_GE(since.elapsed(), planned * 9 / 10);
}

TEST(GameClock, CatchUpIsSlicedIntoFiveSecondStepsAndAClockSetBackSimulatesNothing) {
    GameWorld world(kSummerNoon);
    auto game = world.launch(bareOrchard({{TreeKind::eureka, 297, 0, 0}}), kSummerNoon);
    game->tick(kSummerNoon);
    EXPECT_EQ(game->live().trees[0].age, 297) << "no time passed, no step";

    const Instant earlier = addSeconds(kSummerNoon, -3600);
    game->tick(earlier);
    EXPECT_EQ(game->live().trees[0].age, 297) << "set back: nothing simulated";
    EXPECT_EQ(game->lastUpdated(), earlier);
    game->tick(addSeconds(earlier, 1.5));
    EXPECT_EQ(game->live().trees[0].age, 298.5) << "restarted from the new time";
    game->tick(addSeconds(earlier, 2));
    EXPECT_EQ(game->live().trees[0].age, 299) << "half a second, as between ticks come early, counts too";

    // Slices of 5, 5 and 2.5: the first reaches maturity and drops the rest of its 5 s, the
    // others grow 7.5 s toward the first fruit. One 12.5 s step would give no progress at all,
    // slices of 2.5, 5, 5 would give 10.
    game->tick(addSeconds(earlier, 14.5));
    EXPECT_EQ(game->live().trees[0].age, 300);
    EXPECT_EQ(game->live().trees[0].progress, 7.5);
    EXPECT_EQ(game->lastUpdated(), addSeconds(earlier, 14.5));
}

TEST(GameClock, SavingAndPlanningRunAtOnceAfterTheClockIsSetBackThenKeepTheirCadence) {
    // A harvester with fruit to pick and room for it, so that every planning adds a request.
    Orchard o = bareOrchard(std::vector<Tree>(3, Tree{TreeKind::eureka, 300, 0, 6}));
    o.workers.set(WorkerRole::harvester, 1);
    GameWorld world(kSummerNoon);
    auto game = world.launch(o, kSummerNoon);
    using Kind = FakeNotifier::Call::Kind;
    auto plans = [&] { return world.notifier.count(Kind::add); };
    auto savedAt = [&] { return world.saved()->lastUpdated - referenceSeconds(kSummerNoon); };
    ASSERT_EQ(plans(), 1u);

    // An hour back: both ran at a later time than the new present, so both are due at once.
    game->tick(addSeconds(kSummerNoon, -3600));
    EXPECT_EQ(savedAt(), -3600);
    EXPECT_EQ(plans(), 2u);

    // From then on, the 30 s and the 600 s count from the new time.
    game->tick(addSeconds(kSummerNoon, -3570));
    EXPECT_EQ(savedAt(), -3600);
    game->tick(addSeconds(kSummerNoon, -3000));
    EXPECT_EQ(plans(), 2u);
}

TEST(GameClock, SeasonFollowsTheMonthUnlessTheSettingNamesASeason) {
    GameWorld world(kSummerNoon);
    auto game = world.launch();
    EXPECT_EQ(game->season(), Season::summer);
    QSignalSpy seasonSpy(game.get(), &Game::seasonChanged);

    game->sceneSettings().setSeasonOverride(Season::winter);
    game->tick(addSeconds(kSummerNoon, 1));
    game->tick(addSeconds(kSummerNoon, 2));
    EXPECT_EQ(game->season(), Season::winter);
    EXPECT_EQ(seasonSpy.count(), 1);

    game->sceneSettings().setSeasonOverride(std::nullopt);
    game->tick(addSeconds(kSummerNoon, 3));
    EXPECT_EQ(game->season(), Season::summer);

    game->tick(localInstant(2026, 12, 1));
    EXPECT_EQ(game->season(), Season::winter);
}

TEST(GameClock, CrateAlmostFullFromEightyPercent) {
    for (const auto& [count, almost] : {std::pair{32, true}, std::pair{31, false}}) {
        Orchard o = bareOrchard({});
        o.crate.set(TreeKind::eureka, count); // capacity 40 at level 0
        GameWorld world(kSummerNoon);
        auto game = world.launch(o, kSummerNoon);
        EXPECT_EQ(game->crateAlmostFull(), almost) << count;
    }
}

TEST(GameClock, TicksThatChangeNothingVisibleNotifyNobody) {
    // A bearing tree: each second adds progress toward the next fruit, which nobody can see.
    GameWorld world(kSummerNoon);
    auto game = world.launch(bareOrchard({{TreeKind::eureka, 300, 10, 1}}), kSummerNoon);
    QSignalSpy orchardSpy(game.get(), &Game::orchardChanged);
    QSignalSpy almostSpy(game.get(), &Game::crateAlmostFullChanged);
    QSignalSpy seasonSpy(game.get(), &Game::seasonChanged);
    QSignalSpy weekSpy(game.get(), &Game::weekStartsChanged);

    game->tick(addSeconds(kSummerNoon, 1));
    game->tick(addSeconds(kSummerNoon, 2));
    EXPECT_EQ(orchardSpy.count() + almostSpy.count() + seasonSpy.count() + weekSpy.count(), 0);
    EXPECT_EQ(game->orchard().trees[0].progress, 10);
    EXPECT_EQ(game->live().trees[0].progress, 12);

    // The next fruit is visible and republishes the whole working copy.
    game->tick(addSeconds(kSummerNoon, 50));
    EXPECT_EQ(orchardSpy.count(), 1);
    EXPECT_EQ(game->orchard(), game->live());
    EXPECT_EQ(game->orchard().trees[0].fruit, 2);
}

TEST(GameClock, FirstTickOfAWeekTakesOneSnapshotAndPrunesOldWeeks) {
    Orchard o = bareOrchard({{TreeKind::eureka, 300, 0, 6}});
    o.workers.set(WorkerRole::harvester, 5);
    GameWorld world(kSummerNoon);
    // 56 days before 15 July 2026 is in 2026-W21.
    auto game = world.launch(
        o, addSeconds(kSummerNoon, -600),
        {{"2026-W20", Totals{1, 1, 1, 1}}, {"2026-W21", Totals{2, 2, 2, 2}}, {"2026-W28", Totals{3, 3, 3, 3}}});

    ASSERT_EQ(game->weekStarts().size(), 3u);
    EXPECT_FALSE(game->weekStarts().contains("2026-W20"));
    // The snapshot is taken after the catch-up: what the harvester did while the game was closed
    // counts toward no week.
    ASSERT_TRUE(game->weekStarts().contains("2026-W29"));
    EXPECT_GT(game->live().totals.harvested, 0);
    EXPECT_EQ(game->weekStarts().at("2026-W29"), game->live().totals);
    EXPECT_EQ(game->thisWeek(), Totals{});

    QSignalSpy weekSpy(game.get(), &Game::weekStartsChanged);
    game->tick(addSeconds(kSummerNoon, 120));
    EXPECT_EQ(weekSpy.count(), 0);
    EXPECT_GT(game->thisWeek().harvested, 0);
}

TEST(GameClock, OldWeeksArePrunedOnlyWhenAWeekIsAdded) {
    GameWorld world(kSummerNoon);
    auto game = world.launch(bareOrchard({}), kSummerNoon, {{"2025-W01", Totals{}}, {"2026-W29", Totals{}}});
    EXPECT_TRUE(game->weekStarts().contains("2025-W01"));

    game->tick(localInstant(2026, 7, 20)); // Monday: 2026-W30
    EXPECT_FALSE(game->weekStarts().contains("2025-W01"));
    EXPECT_EQ(game->weekStarts().size(), 2u);
}

TEST(GameClock, DemoModeShowsTheLateGameOrchardWithItsDefaultNamesAndItsWeek) {
    // The orchard the benchmarks play from tests/data, every name left to its default.
    Orchard late = decodeSave(readFile(PIPFIELD_TEST_DATA "/late-game.json")).save->orchard;
    late.looks.at("planter-1").name.clear();
    GameWorld world(kSummerNoon, {{QStringLiteral("demo"), QStringLiteral("late")}});
    auto game = world.launch();
    EXPECT_TRUE(game->demo());
    EXPECT_EQ(game->orchard(), late);
    EXPECT_EQ(game->thisWeek(), (Totals{780, 700, 36000, 3}));
}

} // namespace
} // namespace pipfield::test
