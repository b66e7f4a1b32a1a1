#include "model/Balance.h"
#include "model/Orchard.h"
#include "model/Saturating.h"
#include "model/SaveFile.h"
#include "support/PlainSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// Values a hand-edited save file may hold. Every operation must stay defined (the sanitizers watch)
// and finish promptly; prices and counts saturate at the 64-bit limits.
namespace pipfield {
namespace {

constexpr std::int64_t kMax = INT64_MAX;
constexpr std::int64_t kMin = INT64_MIN;

std::vector<Purchase> everyPurchase(const Orchard& o) {
    std::vector<Purchase> all = {Purchase::crate(), Purchase::replant(-1, TreeKind::lime),
                                 Purchase::replant(static_cast<std::int64_t>(o.trees.size()), TreeKind::lime)};
    for (TreeKind k : allTreeKinds) {
        all.push_back(Purchase::tree(k));
        all.push_back(Purchase::unlock(k));
        all.push_back(Purchase::replant(0, k));
    }
    for (WorkerRole r : allWorkerRoles) {
        all.push_back(Purchase::worker(r));
        all.push_back(Purchase::secondWorker(r));
    }
    return all;
}

bool allFinite(const Orchard& o) {
    return std::isfinite(o.harvestBudget) && std::ranges::all_of(o.trees, [](const Tree& t) {
               return std::isfinite(t.age) && std::isfinite(t.progress);
           });
}

// Runs every operation and checks what the rules promise whatever the values: prices are never
// negative and purchases never pay, forecasts are whole minutes within 48 hours, a pick moves fruit
// from the tree into the crate, the harvester keeps at most one fruit in hand, and what is finite
// is written and read back.
void exercise(Orchard o) {
    for (const Purchase& p : everyPurchase(o)) {
        const std::optional<std::int64_t> price = o.cost(p);
        if (price) {
            EXPECT_GE(*price, 0);
        }
        Orchard copy = o;
        const bool bought = copy.buy(p);
        EXPECT_EQ(bought, price && o.coins >= *price);
        EXPECT_EQ(copy.coins, bought ? o.coins - *price : o.coins);
    }
    bool nonNegativeCrate = o.level(WorkerRole::planter) >= 0;
    o.crate.forEach([&](TreeKind, std::int64_t count) { nonNegativeCrate = nonNegativeCrate && count >= 0; });
    for (Season s : allSeasons) {
        if (nonNegativeCrate) {
            EXPECT_GE(o.crateValue(s), 0);
        }
        const std::optional<double> t = o.timeUntilCrateFull(s);
        if (o.level(WorkerRole::harvester) < 1) {
            EXPECT_EQ(t, std::nullopt);
        } else if (o.crateCount() >= o.crateCapacity()) {
            EXPECT_EQ(t, 0.0);
        } else if (t) {
            EXPECT_GT(*t, 0);
            EXPECT_LE(*t, 172800);
            EXPECT_EQ(std::fmod(*t, 60), 0);
        }
    }
    o.advance(259200, Season::autumn);
    EXPECT_LE(o.harvestBudget, 1.0);
    for (std::int64_t i : {std::int64_t{0}, static_cast<std::int64_t>(o.trees.size()) - 1}) {
        if (i < 0) {
            EXPECT_EQ(o.harvest(i), 0);
            continue;
        }
        const std::int64_t fruit = o.trees[static_cast<std::size_t>(i)].fruit;
        const std::int64_t count = o.crateCount();
        const std::int64_t n = o.harvest(i);
        EXPECT_GE(n, 0);
        EXPECT_LE(n, std::max<std::int64_t>(fruit, 0));
        EXPECT_EQ(o.trees[static_cast<std::size_t>(i)].fruit, fruit - n);
        if (n > 0) {
            EXPECT_LE(count, o.crateCapacity() - n);
            EXPECT_EQ(o.crateCount(), count + n);
        }
    }
    const std::optional<std::string> written = encodeSave(Save{o, 0, {}});
    EXPECT_EQ(written.has_value(), allFinite(o));
    if (written) {
        const SaveDecoding back = decodeSave(*written);
        ASSERT_TRUE(back.save) << back.error;
        EXPECT_EQ(back.save->orchard, o);
    }
}

TEST(ExtremeValues, PricesAndCapacitiesSaturate) {
    EXPECT_EQ(Balance::crateCapacity(500), kMax);
    EXPECT_EQ(Balance::crateCapacity(kMax), kMax);
    EXPECT_EQ(Balance::crateCapacity(kMin), 0);
    EXPECT_EQ(Balance::workerCost(WorkerRole::harvester, 1'000'000'000'000'000), kMax);
    EXPECT_EQ(Balance::workerCost(WorkerRole::harvester, kMin), 0);
    EXPECT_EQ(Balance::gearTier(kMin), 0);

    Orchard o = Orchard::starter();
    o.crateLevel = -400;
    EXPECT_EQ(o.cost(Purchase::crate()), 0);

    // Reals become counts toward zero, held at the limits; what is no number counts nothing.
    const std::pair<double, std::int64_t> reals[] = {
        {-1.9, -1}, {1.9, 1}, {9.3e18, kMax}, {-9.3e18, kMin}, {HUGE_VAL, kMax}, {-HUGE_VAL, kMin}, {std::nan(""), 0}};
    for (const auto& [real, count] : reals) {
        EXPECT_EQ(truncateToInt64(real), count) << real;
    }
}

TEST(ExtremeValues, CountsSaturateInsteadOfWrapping) {
    Orchard o = Orchard::starter();
    o.crate.set(TreeKind::eureka, kMax);
    o.crate.set(TreeKind::golden, kMax);
    EXPECT_EQ(o.crateCount(), kMax);
    EXPECT_EQ(o.crateValue(Season::summer), kMax);
    o.crate.set(TreeKind::golden, kMin);
    o.crate.set(TreeKind::eureka, kMin);
    EXPECT_EQ(o.crateCount(), kMin);
    EXPECT_EQ(o.crateValue(Season::winter), kMin);

    Orchard picked = Orchard::starter();
    picked.crateLevel = 500;
    picked.totals.harvested = kMax;
    picked.harvestedByKind.set(TreeKind::eureka, kMax - 1);
    EXPECT_EQ(picked.harvest(0), 3);
    EXPECT_EQ(picked.totals.harvested, kMax);
    EXPECT_EQ(picked.harvestedByKind.valueOr(TreeKind::eureka, 0), kMax);

    Orchard planted = Orchard::starter();
    planted.totals.planted = kMax;
    planted.coins = 100;
    EXPECT_TRUE(planted.buy(Purchase::tree(TreeKind::eureka)));
    EXPECT_EQ(planted.totals.planted, kMax);
}

TEST(ExtremeValues, HugeLevelsAndFruitFinishPromptly) {
    Orchard o = Orchard::starter();
    o.crateLevel = 500;
    o.workers.set(WorkerRole::harvester, 1'000'000'000'000'000);
    o.workers.set(WorkerRole::caretaker, kMax);
    o.workers.set(WorkerRole::planter, kMax);
    o.trees = {Tree{TreeKind::golden, 21600, 0, 100'000'000'000'000},
               Tree{TreeKind::eureka, 300, 1e300, -5'000'000'000'000}, Tree{TreeKind::lime, -1e300, 1e308, 7}};
    o.step(5, Season::autumn);
    // A budget of 3.75e14 fruit in one step empties every tree by levelling, not one pick at a time;
    // the eureka first refills from 1e300 seconds of progress and is picked too.
    for (const Tree& t : o.trees) {
        EXPECT_EQ(t.fruit, 0);
    }
    EXPECT_EQ(o.trees[1].progress, 0);
    EXPECT_EQ(o.harvestBudget, 1.0);
    EXPECT_EQ(o.crate.valueOr(TreeKind::golden, 0), 100'000'000'000'000);
    EXPECT_EQ(o.crate.valueOr(TreeKind::eureka, 0), 6);
    EXPECT_EQ(o.crate.valueOr(TreeKind::lime, 0), 7);
    exercise(o);
}

TEST(ExtremeValues, ATreeBearsOneFruitPerIntervalWhateverItHolds) {
    // A count far below zero and a hundred intervals of progress: a hundred fruit, also past the
    // bound on single steps, and the rest kept as progress.
    Orchard o = test::bareOrchard({Tree{TreeKind::eureka, 300, 6000, -1000}});
    o.step(5, Season::autumn);
    EXPECT_EQ(o.trees[0].fruit, -900);
    EXPECT_EQ(o.trees[0].progress, 5);
}

TEST(ExtremeValues, NegativeAndMaximalOddities) {
    Orchard negative = Orchard::starter();
    negative.coins = kMin;
    negative.crateLevel = kMin;
    negative.harvestBudget = -1e300;
    negative.workers.set(WorkerRole::harvester, -7);
    negative.workers.set(WorkerRole::planter, kMin);
    negative.trees = {Tree{TreeKind::yuja, -5, -1e308, kMin}};
    EXPECT_EQ(negative.staff(WorkerRole::harvester), 0);
    EXPECT_FALSE(negative.buy(Purchase::crate()));
    exercise(negative);

    Orchard maxed = Orchard::starter();
    maxed.crateLevel = kMax;
    maxed.workers.set(WorkerRole::caretaker, kMax);
    maxed.harvestBudget = 1e308;
    maxed.workers.set(WorkerRole::harvester, kMax);
    maxed.trees = {Tree{TreeKind::eureka, 1e308, 1.7e308, kMax - 1}};
    exercise(maxed);
}

TEST(ExtremeValues, DecodedOdditiesRunToo) {
    const SaveDecoding d = decodeSave(
        R"({"lastUpdated":-1e308,"weekStarts":{},"orchard":{"trees":[{"kind":"pink","age":1e308,"progress":-1e308,"fruit":-9223372036854775808}],)"
        R"("workers":{"harvester":9223372036854775807,"planter":-9223372036854775808},"crateLevel":500,)"
        R"("crate":{"pink":9223372036854775807},"coins":9223372036854775807,"harvestBudget":1e308}})");
    ASSERT_TRUE(d.save) << d.error;
    exercise(d.save->orchard);
}

} // namespace
} // namespace pipfield
