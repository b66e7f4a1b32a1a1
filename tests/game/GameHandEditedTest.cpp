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

// A crate, coins and totals as a hand-edited save may hold them, and what selling the crate leaves.
struct HandEditedSale {
    struct {
        std::vector<std::pair<TreeKind, std::int64_t>> crate;
        std::int64_t coins;
        Totals totals, weekStart;
    } given;
    struct {
        std::int64_t value, coins, sold, earned, saleCount, lastSale;
        Totals thisWeek;
    } sold;
};

TEST(GameHandEdited, ASaleHoldsCoinsAndTotalsAtTheLimitsAndCountsFromOneCoin) {
    const HandEditedSale sales[] = {
        // 280 coins near the upper limit; the week's max - min does not fit either.
        {{{{TreeKind::meyer, 40}}, kMax - 7, {5, kMax - 10, kMax - 100, 0}, {0, kMin, kMin, 0}},
         {280, kMax, kMax, kMax, 1, 280, {5, kMax, kMax, 0}}},
        // Worth less than the lowest coin count: a sale worth nothing is no sale, and totals below the
        // week's start show an empty week.
        {{{{TreeKind::golden, -1'000'000'000'000'000}}, kMin + 5, {kMin, kMin + 1, kMin + 2, kMin}, {kMax, kMax, 1, 0}},
         {-700'000'000'000'000'000, kMin, kMin, kMin, 0, 0, {}}},
        // -6 coins of lemons and 7 of Meyer lemons.
        {{{{TreeKind::eureka, -3}, {TreeKind::meyer, 1}}, 10, {}, {}}, {1, 11, -2, 1, 1, 1, {0, 0, 1, 0}}},
    };
    for (const auto& [given, sold] : sales) {
        SCOPED_TRACE(sold.value);
        Orchard o = bareOrchard({});
        for (const auto& [kind, count] : given.crate) {
            o.crate.set(kind, count);
        }
        o.coins = given.coins;
        o.totals = given.totals;
        GameWorld world(kNoon);
        auto game = world.launch(o, kNoon, {{"2026-W42", given.weekStart}});

        EXPECT_EQ(game->sellAll(), sold.value);
        EXPECT_EQ(game->live().coins, sold.coins);
        EXPECT_EQ(game->live().totals.sold, sold.sold);
        EXPECT_EQ(game->live().totals.earned, sold.earned);
        EXPECT_EQ(game->saleCount(), sold.saleCount);
        EXPECT_EQ(game->lastSale(), sold.lastSale);
        EXPECT_EQ(game->thisWeek(), sold.thisWeek);
    }
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

struct Absence {
    double lastUpdated;
    double caughtUp;
};

class LastUpdated : public testing::TestWithParam<Absence> {};

TEST_P(LastUpdated, CatchesUpAtMostThreeDaysAndNothingFromTheFutureThenRunsFromNow) {
    GameWorld world(kNoon);
    world.seed(Save{bearing(), GetParam().lastUpdated, {}});
    auto game = world.launch();

    EXPECT_EQ(game->live(), afterSeconds(GetParam().caughtUp));
    EXPECT_EQ(game->lastUpdated(), kNoon);
    EXPECT_DOUBLE_EQ(world.saved()->lastUpdated, referenceSeconds(kNoon));
    game->tick(addSeconds(kNoon, 60));
    EXPECT_EQ(game->live(), afterSeconds(GetParam().caughtUp + 60));
}

// Ten days before noon of the test's day; long before the clock's nanosecond count reaches (1677), and
// the difference to now beyond it too. Then later than now, and beyond the clock's end.
INSTANTIATE_TEST_SUITE_P(Seconds, LastUpdated,
                         testing::Values(Absence{812775600, 259200}, Absence{-9e9, 259200}, Absence{-1e11, 259200},
                                         Absence{-1e308, 259200}, Absence{-4e9, 259200}, Absence{9e9, 0},
                                         Absence{1e11, 0}, Absence{1e308, 0}));

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
