#include "model/Balance.h"
#include "model/Harvesting.h"
#include "model/Orchard.h"
#include "model/Purchase.h"
#include "support/PlainSteps.h"

#include <gtest/gtest.h>

#include <random>

namespace pipfield {
namespace {

using test::bareOrchard;

TEST(OrchardStep, AFullTreeHoldsNoProgress) {
    Orchard o = bareOrchard({Tree{TreeKind::golden, 21600, 150, 17}});
    o.workers.set(WorkerRole::caretaker, 8); // 2.2 times faster: 11 seconds of growth per step
    for (int step = 1; step <= 2; ++step) {
        o.step(5, Season::autumn);
        EXPECT_EQ(o.trees[0], (Tree{TreeKind::golden, 21600, 0, 18})) << "step " << step;
    }
}

TEST(OrchardStep, SpringAndCaretakersSpeedGrowth) {
    Orchard o = bareOrchard({Tree{TreeKind::kumquat, 0, 0, 0}});
    o.workers.set(WorkerRole::caretaker, 2);
    o.extraWorkers.insert(WorkerRole::caretaker);
    o.step(4, Season::spring);
    EXPECT_DOUBLE_EQ(o.trees[0].age, 1.6675 * 4);
}

TEST(OrchardStep, HarvesterTakesFromTheFullestLowestPlotFirst) {
    Orchard o = bareOrchard({Tree{TreeKind::eureka, 300, 0, 4}, Tree{TreeKind::kumquat, 600, 0, 4}});
    o.workers.set(WorkerRole::harvester, 10); // 0.6 fruit per second: 3 per 5-second step
    o.step(5, Season::winter);
    EXPECT_EQ(o.trees[0].fruit, 2);
    EXPECT_EQ(o.trees[1].fruit, 3);
    EXPECT_EQ(o.crate.valueOr(TreeKind::eureka, 0), 2);
    EXPECT_EQ(o.crate.valueOr(TreeKind::kumquat, 0), 1);
    EXPECT_EQ(o.harvestedByKind.valueOr(TreeKind::eureka, 0), 2);
    EXPECT_EQ(o.totals.harvested, 3);
    EXPECT_NEAR(o.harvestBudget, 0, 1e-12);
}

TEST(OrchardStep, AFullCrateStopsTheHarvesterAndCapsItsBudget) {
    Orchard o = bareOrchard({Tree{TreeKind::eureka, 300, 0, 6}});
    o.workers.set(WorkerRole::harvester, 20);
    o.crate.set(TreeKind::lime, 40);
    o.step(5, Season::autumn);
    EXPECT_EQ(o.trees[0].fruit, 6);
    EXPECT_EQ(o.harvestBudget, 1);
    // Room appears: only one fruit's worth of budget was kept, so no burst.
    o.crate.set(TreeKind::lime, 30);
    o.workers.set(WorkerRole::harvester, 0);
    o.step(5, Season::autumn);
    EXPECT_EQ(o.crateCount(), 31);
}

// The game's numbers for each kind, as the player meets them: how long a tree takes to grow and to
// bear, how much it holds, what a fruit sells for, and what planting and unlocking cost.
struct KindNumbers {
    TreeKind kind;
    double grow, interval;
    std::int64_t capacity, value, price, unlockCost;
};

class KindInPlay : public testing::TestWithParam<KindNumbers> {};

TEST_P(KindInPlay, GrowsBearsHoldsSellsAndCostsItsNumbers) {
    const KindNumbers k = GetParam();
    // Autumn: no kind grows or sells at a seasonal rate.
    Orchard o = bareOrchard({Tree{k.kind, 0, 0, 0}});
    o.step(k.grow - 1, Season::autumn);
    EXPECT_LT(o.trees[0].age, k.grow);
    o.step(1, Season::autumn);
    EXPECT_EQ(o.trees[0].age, k.grow);
    o.step(k.interval - 1, Season::autumn);
    EXPECT_EQ(o.trees[0].fruit, 0);
    o.step(1, Season::autumn);
    EXPECT_EQ(o.trees[0].fruit, 1);
    o.step(k.interval * static_cast<double>(k.capacity + 2), Season::autumn);
    EXPECT_EQ(o.trees[0].fruit, k.capacity);

    Orchard selling = bareOrchard({});
    selling.crate.set(k.kind, 1);
    EXPECT_EQ(selling.crateValue(Season::autumn), k.value);

    Orchard buying = bareOrchard({});
    if (k.kind != TreeKind::eureka) {
        EXPECT_EQ(buying.cost(Purchase::unlock(k.kind)), k.unlockCost);
        buying.unlocked.insert(k.kind);
    }
    EXPECT_EQ(buying.cost(Purchase::tree(k.kind)), k.price);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindInPlay,
                         testing::Values(KindNumbers{TreeKind::eureka, 300, 60, 6, 2, 15, 0},
                                         KindNumbers{TreeKind::kumquat, 600, 65, 7, 4, 50, 60},
                                         KindNumbers{TreeKind::meyer, 1200, 75, 8, 7, 120, 150},
                                         KindNumbers{TreeKind::calamansi, 1800, 80, 9, 12, 350, 450},
                                         KindNumbers{TreeKind::lime, 2700, 90, 10, 20, 900, 1200},
                                         KindNumbers{TreeKind::blood, 3600, 100, 11, 34, 2500, 3200},
                                         KindNumbers{TreeKind::yuja, 5400, 110, 12, 55, 6000, 8000},
                                         KindNumbers{TreeKind::grapefruit, 7200, 120, 13, 90, 20000, 30000},
                                         KindNumbers{TreeKind::pink, 10800, 130, 14, 150, 80000, 120000},
                                         KindNumbers{TreeKind::hallabong, 14400, 140, 15, 250, 1200000, 2000000},
                                         KindNumbers{TreeKind::buddha, 18000, 150, 16, 420, 8000000, 12000000},
                                         // The last holds 18, not 17.
                                         KindNumbers{TreeKind::golden, 21600, 160, 18, 700, 40000000, 60000000}));

TEST(OrchardHarvest, PicksWhatTheCrateHasRoomFor) {
    Orchard o = bareOrchard({Tree{TreeKind::meyer, 1200, 0, 5}});
    o.crate.set(TreeKind::lime, 38);
    EXPECT_EQ(o.harvest(0), 2);
    EXPECT_EQ(o.trees[0].fruit, 3);
    EXPECT_EQ(o.crate.valueOr(TreeKind::meyer, 0), 2);
    EXPECT_EQ(o.totals.harvested, 2);
    EXPECT_EQ(o.harvest(-1), 0);
    EXPECT_EQ(o.harvest(1), 0);
    EXPECT_EQ(o.harvest(0), 0);
}

TEST(OrchardValue, PlanterSeasonsAndPerKindRounding) {
    Orchard o = bareOrchard({});
    o.crate.set(TreeKind::yuja, 1);
    EXPECT_EQ(o.crateValue(Season::winter), 83);

    o.crate = {};
    o.crate.set(TreeKind::eureka, 3);
    o.workers.set(WorkerRole::planter, 1);
    EXPECT_EQ(o.crateValue(Season::spring), 7);

    o.crate = {};
    o.crate.set(TreeKind::eureka, 1);
    o.crate.set(TreeKind::kumquat, 1);
    EXPECT_EQ(o.crateValue(Season::spring), 6); // 2 + 4, not R(6.72)

    Orchard summer = bareOrchard({});
    summer.crate.set(TreeKind::kumquat, 5);
    EXPECT_EQ(summer.crateValue(Season::summer), 24);

    o.extraWorkers.insert(WorkerRole::planter); // m = 1 + 1 x 0.12 x 1.5 = 1.18
    o.crate = {};
    o.crate.set(TreeKind::golden, 10);
    EXPECT_EQ(o.crateValue(Season::winter), 8260);
}

TEST(OrchardForecast, WholeMinutesOrNothing) {
    Orchard full = bareOrchard({});
    full.workers.set(WorkerRole::harvester, 1);
    full.crate.set(TreeKind::eureka, 40);
    EXPECT_EQ(full.timeUntilCrateFull(Season::summer), 0.0);
    EXPECT_EQ(full.advanceWatchingCrate(60, Season::summer), 0.0) << "full before the first step";
    full.workers = {};
    EXPECT_EQ(full.timeUntilCrateFull(Season::summer), std::nullopt);

    Orchard o = bareOrchard({Tree{TreeKind::eureka, 300, 0, 6}});
    o.workers.set(WorkerRole::harvester, 1);
    const std::optional<double> t = o.timeUntilCrateFull(Season::summer);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(std::fmod(*t, 60), 0);
    // Cross-check with the plain rules: not full a minute earlier, full at t.
    Orchard walk = o;
    for (double s = 0; s < *t - 60; s += 5) {
        walk.step(5, Season::summer);
    }
    EXPECT_LT(walk.crateCount(), 40);
    for (int i = 0; i < 12; ++i) {
        walk.step(5, Season::summer);
    }
    EXPECT_GE(walk.crateCount(), 40);
}

TEST(OrchardForecast, LooksAheadExactlyFortyEightHours) {
    // A lemon tree bears a fruit a minute and the harvester picks each as it comes: 2880 fruit in 48
    // hours. A crate with room for exactly that many fills at the horizon; one more, a minute later,
    // is beyond it.
    Orchard o = bareOrchard({Tree{TreeKind::eureka, 300, 0, 0}});
    o.workers.set(WorkerRole::harvester, 1);
    o.crateLevel = 11;
    ASSERT_EQ(o.crateCapacity(), 3460);
    o.crate.set(TreeKind::lime, 3460 - 2880);
    EXPECT_EQ(o.timeUntilCrateFull(Season::summer), 172800.0);
    o.crate.set(TreeKind::lime, 3460 - 2881);
    EXPECT_EQ(o.timeUntilCrateFull(Season::summer), std::nullopt);
}

TEST(TreeGrowth, PercentTruncatesAndCaps) {
    EXPECT_EQ((Tree{TreeKind::eureka, 299.9, 0, 0}).growthPercent(), 99);
    EXPECT_EQ((Tree{TreeKind::eureka, 300, 0, 0}).growthPercent(), 100);
    EXPECT_EQ((Tree{TreeKind::eureka, 1e9, 0, 0}).growthPercent(), 100);
    EXPECT_EQ((Tree{TreeKind::golden, 216, 0, 0}).growthPercent(), 1);
    EXPECT_EQ((Tree{TreeKind::golden, -5, 0, 0}).growthPercent(), 0);
}

TEST(TreeGrowth, StagesFollowAgeProgressAndFruit) {
    struct Case {
        Tree tree;
        int stage;
    };
    // Eureka: grows in 300 s, a fruit every 60 s, so stage 5 from 24 s of progress.
    const Case cases[] = {
        {{TreeKind::eureka, 44.9, 0, 0}, 0},
        {{TreeKind::eureka, 45, 0, 0}, 1},
        {{TreeKind::eureka, 134.9, 0, 0}, 1},
        {{TreeKind::eureka, 135, 0, 0}, 2},
        {{TreeKind::eureka, 299.9, 59, 0}, 2},
        {{TreeKind::eureka, 300, 23.9, 0}, 3},
        {{TreeKind::eureka, 300, 24, 0}, 5},
        {{TreeKind::eureka, 300, 0, 1}, 6},
        {{TreeKind::golden, 21600, 64, 0}, 5},
        {{TreeKind::golden, 21600, 63.9, 0}, 3},
        // A hand-edited growing tree with fruit still shows its growth.
        {{TreeKind::eureka, 100, 0, 2}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(artNumber(c.tree.stage()), c.stage)
            << rawValue(c.tree.kind) << " " << c.tree.age << " " << c.tree.progress;
    }
}

// A random orchard of play-like values, for comparing shortcuts with the plain rules.
Orchard randomOrchard(std::mt19937_64& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Orchard o = Orchard::starter();
    o.trees.clear();
    const int count = pick(0, 10);
    for (int i = 0; i < count; ++i) {
        const TreeKind kind = allTreeKinds[static_cast<std::size_t>(pick(0, 11))];
        const Balance::TreeSpec& spec = Balance::spec(kind);
        const bool mature = pick(0, 3) > 0;
        o.trees.push_back(Tree{kind, mature ? spec.grow : spec.grow * pick(0, 99) / 100.0,
                               mature ? spec.interval * pick(0, 99) / 100.0 : 0,
                               mature ? pick(0, static_cast<int>(spec.capacity)) : 0});
    }
    for (WorkerRole role : allWorkerRoles) {
        if (pick(0, 3) > 0) {
            o.workers.set(role, pick(1, 20));
            if (pick(0, 1) == 1) {
                o.extraWorkers.insert(role);
            }
        }
    }
    o.crateLevel = pick(0, 18);
    o.crate.set(TreeKind::lime, pick(0, static_cast<int>(o.crateCapacity())));
    o.harvestBudget = pick(0, 100) / 100.0;
    return o;
}

// The shortcuts of a catch-up against the plain rules.
TEST(OrchardAdvance, MatchesPlainFiveSecondSlicingBitForBitAndFindsTheSliceThatFilledTheCrate) {
    std::mt19937_64 rng(20261206);
    const double spans[] = {0, 2.5, 12.5, 61.3, 3600, 86400.75, 259200};
    int filledOnTheWay = 0;
    for (int round = 0; round < 120; ++round) {
        const Orchard start = randomOrchard(rng);
        const Season season = allSeasons[static_cast<std::size_t>(round % 4)];
        const double span = spans[static_cast<std::size_t>(round) % std::size(spans)];
        Orchard plain = start;
        const std::optional<double> expected = test::stepPlainly(plain, span, season);
        Orchard fast = start;
        fast.advance(span, season);
        ASSERT_EQ(fast, plain) << "round " << round << " span " << span;
        Orchard watched = start;
        ASSERT_EQ(watched.advanceWatchingCrate(span, season), expected) << "round " << round << " span " << span;
        ASSERT_EQ(watched, plain) << "round " << round << " span " << span;
        filledOnTheWay += expected && *expected > 0 ? 1 : 0;
    }
    EXPECT_GT(filledOnTheWay, 5);
}

TEST(OrchardAdvance, ATreeMaturingInsideASliceDropsTheRestOfIt) {
    Orchard o = bareOrchard({Tree{TreeKind::eureka, 297, 0, 0}});
    o.advance(10, Season::summer);
    EXPECT_EQ(o.trees[0].age, 300);
    EXPECT_EQ(o.trees[0].progress, 5);
    // A last slice of less than a second counts too.
    o.advance(0.75, Season::summer);
    EXPECT_EQ(o.trees[0].progress, 5.75);
}

TEST(Harvesting, LevellingPassEqualsSinglePicks) {
    std::mt19937_64 rng(7);
    for (int round = 0; round < 400; ++round) {
        Orchard start = randomOrchard(rng);
        for (Tree& t : start.trees) {
            t.fruit = std::uniform_int_distribution<std::int64_t>(-2, 30)(rng);
        }
        const double budget = std::uniform_int_distribution<int>(0, 400)(rng) + 0.25;
        Orchard single = start;
        double singleBudget = budget;
        const std::int64_t a = detail::pickIntoCrate(single, singleBudget, start.crateCapacity(), 1'000'000);
        Orchard levelled = start;
        double levelledBudget = budget;
        const std::int64_t b = detail::pickIntoCrate(levelled, levelledBudget, start.crateCapacity(), round % 3);
        ASSERT_EQ(a, b) << round;
        ASSERT_EQ(single, levelled) << round;
        ASSERT_EQ(singleBudget, levelledBudget) << round;
    }
}

} // namespace
} // namespace pipfield
