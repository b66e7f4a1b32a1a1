#include "game/WeekHistory.h"
#include "support/GameTestSupport.h"
#include "support/PlainSteps.h"

#include <gtest/gtest.h>

#include <cmath>

// Saves changed by hand: whatever numbers they hold, the live game neither wraps nor skips its rules.
namespace pipfield::test {
namespace {

constexpr std::int64_t kMax = INT64_MAX;
constexpr std::int64_t kMin = INT64_MIN;

TEST(GameHandEdited, ASaleNearTheLimitHoldsCoinsAndEarningsAtIt) {
    Orchard o = bareOrchard({});
    o.crate.set(TreeKind::meyer, 40); // 280 coins
    o.coins = 9223372036854775800;
    o.totals = {5, kMax - 10, kMax - 100, 0};
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon, {{"2026-W42", Totals{0, kMin, kMin, 0}}});

    EXPECT_EQ(game->sellAll(), 280);
    EXPECT_EQ(game->live().coins, kMax);
    EXPECT_EQ(game->live().totals.sold, kMax);
    EXPECT_EQ(game->live().totals.earned, kMax);
    EXPECT_EQ(game->lastSale(), 280);
    // max - min does not fit either.
    EXPECT_EQ(game->thisWeek(), (Totals{5, kMax, kMax, 0}));
}

TEST(GameHandEdited, ANegativeCrateAndCoinsHoldAtTheLowerLimit) {
    Orchard o = bareOrchard({});
    o.crate.set(TreeKind::golden, -1'000'000'000'000'000); // worth less than the lowest coin count
    o.coins = kMin + 5;
    o.totals = {kMin, kMin + 1, kMin + 2, kMin};
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon, {{"2026-W42", Totals{kMax, kMax, 1, 0}}});

    EXPECT_EQ(game->sellAll(), -700'000'000'000'000'000);
    EXPECT_EQ(game->live().coins, kMin);
    EXPECT_EQ(game->live().totals.sold, kMin);
    EXPECT_EQ(game->live().totals.earned, kMin);
    EXPECT_EQ(game->saleCount(), 0) << "a sale worth nothing is no sale";
    EXPECT_EQ(game->thisWeek(), Totals{}) << "totals below the week's start show an empty week";
}

TEST(GameHandEdited, ASaleWorthOneCoinIsASale) {
    Orchard o = bareOrchard({});
    o.crate.set(TreeKind::eureka, -3); // -6 coins
    o.crate.set(TreeKind::meyer, 1);   // 7 coins
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon);
    EXPECT_EQ(game->sellAll(), 1);
    EXPECT_EQ(game->saleCount(), 1);
    EXPECT_EQ(game->lastSale(), 1);
}

TEST(GameHandEdited, TotalsThatShrankSinceTheWeekBeganGiveTheCardNoNegativeNumber) {
    Orchard o = bareOrchard({});
    // Harvested and planted lowered by hand below the week's snapshot; sold and earned grew.
    o.totals = {40, 60, 700, 1};
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon, {{"2026-W42", Totals{100, 50, 500, 3}}});

    EXPECT_EQ(game->thisWeek(), (Totals{0, 10, 200, 0}));
    // The weekly card and the record tab's chart tell the same week.
    const std::vector<WeekRecord> weeks = recentWeeks(game->weekStarts(), game->orchard().totals, kNoon, 1);
    ASSERT_EQ(weeks.size(), 1u);
    EXPECT_EQ(weeks.front().done, game->thisWeek());
}

// A lemon tree bearing for ever into a crate with room for more than any catch-up: the harvest
// tells exactly how long was simulated.
Orchard bearing() {
    Orchard o = bareOrchard({{TreeKind::eureka, 300, 0, 0}});
    o.workers.set(WorkerRole::harvester, 1);
    o.crateLevel = Orchard::maxCrateLevel;
    return o;
}

Orchard afterSeconds(double seconds) {
    Orchard o = bearing();
    stepPlainly(o, seconds, Season::autumn);
    return o;
}

class LastUpdatedLongAgo : public testing::TestWithParam<double> {};

TEST_P(LastUpdatedLongAgo, CatchesUpTheWholeThreeDays) {
    GameWorld world(kNoon);
    world.seed(Save{bearing(), GetParam(), {}});
    auto game = world.launch();

    EXPECT_EQ(game->live(), afterSeconds(259200));
    EXPECT_EQ(game->lastUpdated(), kNoon);
    EXPECT_DOUBLE_EQ(world.saved()->lastUpdated, referenceSeconds(kNoon));
}

// Ten days before noon of the test's day; long before the clock's nanosecond count reaches (1677), and
// the difference to now beyond it too.
INSTANTIATE_TEST_SUITE_P(Seconds, LastUpdatedLongAgo, testing::Values(812775600, -9e9, -1e11, -1e308, -4e9));

class LastUpdatedInTheFuture : public testing::TestWithParam<double> {};

TEST_P(LastUpdatedInTheFuture, SimulatesNothingAndRestartsFromNow) {
    GameWorld world(kNoon);
    world.seed(Save{bearing(), GetParam(), {}});
    auto game = world.launch();

    EXPECT_EQ(game->live(), bearing());
    EXPECT_EQ(game->lastUpdated(), kNoon);
    game->tick(addSeconds(kNoon, 60));
    EXPECT_EQ(game->live(), afterSeconds(60));
}

INSTANTIATE_TEST_SUITE_P(Seconds, LastUpdatedInTheFuture, testing::Values(9e9, 1e11, 1e308));

TEST(ClockArithmetic, HoldsAtTheEndsOfTheClockAndIsExactWithin) {
    EXPECT_EQ(addSeconds(kNoon, 12.5) - kNoon, std::chrono::milliseconds(12500));
    EXPECT_EQ(secondsBetween(kNoon, addSeconds(kNoon, -3600.25)), -3600.25);
    EXPECT_EQ(addSeconds(Instant{}, 1e11), Instant::max());
    EXPECT_EQ(addSeconds(Instant{}, -1e308), Instant::min());
    EXPECT_EQ(addSeconds(Instant::min(), 9e9), Instant::min() + std::chrono::seconds(9'000'000'000));
    EXPECT_EQ(addSeconds(kNoon, std::nan("")), kNoon);
    // The whole range, about 584 years, does not fit the clock's own count.
    EXPECT_NEAR(secondsBetween(Instant::min(), Instant::max()), 18446744073.709551615, 1e-3);
    EXPECT_NEAR(secondsBetween(Instant::max(), Instant::min()), -18446744073.709551615, 1e-3);
}

} // namespace
} // namespace pipfield::test
