#include "model/Orchard.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

Orchard withTrees(std::initializer_list<TreeKind> kinds) {
    Orchard o = Orchard::starter();
    o.trees.clear();
    for (TreeKind k : kinds) {
        o.trees.push_back(Tree{k, 0, 0, 0});
    }
    for (TreeKind k : allTreeKinds) {
        o.unlocked.insert(k);
    }
    return o;
}

TEST(OrchardCost, TreePricesRiseWithTreesOfTheSameKindOnly) {
    const std::int64_t eureka[] = {15, 24, 38, 61, 98};
    const std::int64_t kumquat[] = {50, 80, 128, 205, 328};
    for (int n = 0; n < 5; ++n) {
        // A tree of another kind, and n of each of the two priced kinds: nine plots at most, so every
        // round has a free plot to price.
        Orchard o = withTrees({TreeKind::lime});
        for (int i = 0; i < n; ++i) {
            o.trees.push_back(Tree{TreeKind::eureka, 0, 0, 0});
            o.trees.push_back(Tree{TreeKind::kumquat, 0, 0, 0});
        }
        ASSERT_LT(o.trees.size(), Orchard::maxTrees);
        EXPECT_EQ(o.cost(Purchase::tree(TreeKind::eureka)), eureka[n]) << n;
        EXPECT_EQ(o.cost(Purchase::tree(TreeKind::kumquat)), kumquat[n]) << n;
    }
    // Nine of a kind: only the replant price can show it, the tenth plot being the last.
    Orchard nine = withTrees({});
    nine.trees.assign(9, Tree{TreeKind::eureka, 0, 0, 0});
    EXPECT_EQ(nine.cost(Purchase::tree(TreeKind::eureka)), 1031);
    nine.trees.assign(9, Tree{TreeKind::kumquat, 0, 0, 0});
    nine.trees.push_back(Tree{TreeKind::eureka, 0, 0, 0});
    EXPECT_EQ(nine.cost(Purchase::replant(9, TreeKind::kumquat)), 3436);
}

TEST(OrchardCost, CratePrices) {
    const std::pair<std::int64_t, std::int64_t> table[] = {{0, 30},  {1, 69},   {2, 159},     {3, 365},
                                                           {4, 840}, {5, 1931}, {10, 124280}, {17, 42315012}};
    Orchard o = Orchard::starter();
    for (const auto& [level, price] : table) {
        o.crateLevel = level;
        EXPECT_EQ(o.cost(Purchase::crate()), price) << level;
    }
    o.coins = 42315012;
    EXPECT_TRUE(o.buy(Purchase::crate()));
    EXPECT_EQ(o.crateLevel, 18);
    EXPECT_EQ(o.cost(Purchase::crate()), std::nullopt);
}

TEST(OrchardCost, UnavailablePurchases) {
    Orchard full = withTrees({});
    full.trees.assign(10, Tree{TreeKind::eureka, 0, 0, 0});
    for (TreeKind k : allTreeKinds) {
        EXPECT_EQ(full.cost(Purchase::tree(k)), std::nullopt);
    }
    EXPECT_EQ(full.cost(Purchase::replant(3, TreeKind::lime)), 900);
    EXPECT_EQ(full.cost(Purchase::replant(3, TreeKind::eureka)), std::nullopt);
    EXPECT_EQ(full.cost(Purchase::replant(10, TreeKind::lime)), std::nullopt);
    EXPECT_EQ(full.cost(Purchase::replant(-1, TreeKind::lime)), std::nullopt);

    const Orchard starter = Orchard::starter();
    EXPECT_EQ(starter.cost(Purchase::tree(TreeKind::kumquat)), std::nullopt);
    EXPECT_EQ(starter.cost(Purchase::replant(0, TreeKind::kumquat)), std::nullopt);
    EXPECT_EQ(starter.cost(Purchase::unlock(TreeKind::eureka)), std::nullopt);
    EXPECT_EQ(starter.cost(Purchase::secondWorker(WorkerRole::planter)), std::nullopt);
}

TEST(OrchardBuy, UnlockingEurekaAgainIsFree) {
    Orchard o = Orchard::starter();
    o.unlocked = {};
    o.coins = 0;
    EXPECT_EQ(o.cost(Purchase::tree(TreeKind::eureka)), std::nullopt);
    EXPECT_TRUE(o.buy(Purchase::unlock(TreeKind::eureka)));
    EXPECT_TRUE(o.unlocked.contains(TreeKind::eureka));
    EXPECT_EQ(o.coins, 0);
}

TEST(OrchardBuy, WorkerLevelsAndTheSecondWorker) {
    Orchard o = Orchard::starter();
    o.coins = 1'000'000'000;
    EXPECT_EQ(o.cost(Purchase::worker(WorkerRole::caretaker)), 25);
    ASSERT_TRUE(o.buy(Purchase::worker(WorkerRole::caretaker)));
    EXPECT_EQ(o.level(WorkerRole::caretaker), 1);
    EXPECT_EQ(o.staff(WorkerRole::caretaker), 1);
    EXPECT_EQ(o.cost(Purchase::worker(WorkerRole::caretaker)), 53);

    o.workers.set(WorkerRole::caretaker, 9);
    EXPECT_EQ(o.cost(Purchase::secondWorker(WorkerRole::caretaker)), std::nullopt);
    ASSERT_TRUE(o.buy(Purchase::worker(WorkerRole::caretaker)));
    EXPECT_EQ(o.cost(Purchase::secondWorker(WorkerRole::caretaker)), 810980);
    const std::int64_t before = o.coins;
    ASSERT_TRUE(o.buy(Purchase::secondWorker(WorkerRole::caretaker)));
    EXPECT_EQ(o.coins, before - 810980);
    EXPECT_EQ(o.staff(WorkerRole::caretaker), 2);
    EXPECT_EQ(o.cost(Purchase::secondWorker(WorkerRole::caretaker)), std::nullopt);

    o.workers.set(WorkerRole::caretaker, 20);
    EXPECT_EQ(o.cost(Purchase::worker(WorkerRole::caretaker)), std::nullopt);
    EXPECT_FALSE(o.buy(Purchase::worker(WorkerRole::caretaker)));
    EXPECT_EQ(o.level(WorkerRole::caretaker), 20);

    // The second worker's price ignores the current level.
    o.workers.set(WorkerRole::planter, 17);
    EXPECT_EQ(o.cost(Purchase::secondWorker(WorkerRole::planter)), 1297568);
    o.workers.set(WorkerRole::harvester, 10);
    EXPECT_EQ(o.cost(Purchase::secondWorker(WorkerRole::harvester)), 1946352);
}

TEST(OrchardBuy, ExactCoinsSucceedOneShortChangesNothing) {
    Orchard o = Orchard::starter();
    o.coins = 23; // the second eureka costs 24
    const Orchard before = o;
    EXPECT_FALSE(o.buy(Purchase::tree(TreeKind::eureka)));
    EXPECT_EQ(o, before);
    o.coins = 24;
    ASSERT_TRUE(o.buy(Purchase::tree(TreeKind::eureka)));
    EXPECT_EQ(o.coins, 0);
    ASSERT_EQ(o.trees.size(), 2u);
    EXPECT_EQ(o.trees[1], (Tree{TreeKind::eureka, 0, 0, 0}));
    EXPECT_EQ(o.totals.planted, 1);
}

TEST(OrchardBuy, ReplantingDiscardsTheFruit) {
    Orchard o = Orchard::starter();
    o.coins = 1000;
    o.unlocked.insert(TreeKind::kumquat);
    o.trees[0].fruit = 6;
    ASSERT_TRUE(o.buy(Purchase::replant(0, TreeKind::kumquat)));
    EXPECT_EQ(o.trees[0], (Tree{TreeKind::kumquat, 0, 0, 0}));
    EXPECT_TRUE(o.crate.empty());
    EXPECT_EQ(o.totals.harvested, 0);
    EXPECT_EQ(o.totals.planted, 1);
    EXPECT_EQ(o.coins, 950);
    EXPECT_EQ(o.everPlanted, (EnumSet<TreeKind>{TreeKind::eureka, TreeKind::kumquat}));
}

// The window keeps a button as long as it offers the same purchase: only the fields of its case count.
TEST(Purchase, EqualWhenTheyBuyTheSameThing) {
    EXPECT_EQ(Purchase::replant(2, TreeKind::lime), Purchase::replant(2, TreeKind::lime));
    EXPECT_NE(Purchase::replant(2, TreeKind::lime), Purchase::replant(3, TreeKind::lime));
    EXPECT_NE(Purchase::replant(2, TreeKind::lime), Purchase::replant(2, TreeKind::yuja));
    EXPECT_NE(Purchase::tree(TreeKind::lime), Purchase::unlock(TreeKind::lime));
    EXPECT_NE(Purchase::worker(WorkerRole::planter), Purchase::secondWorker(WorkerRole::planter));
    EXPECT_EQ(Purchase::crate(), (Purchase{Purchase::Case::crate, TreeKind::lime, WorkerRole::harvester, 4}));
}

TEST(OrchardLooks, DefaultsShowTheOtherBodyForTheSecondSlot) {
    Orchard o = Orchard::starter();
    EXPECT_EQ(o.look(WorkerRole::planter, 0), (WorkerLook{0, 0, ""}));
    EXPECT_EQ(o.look(WorkerRole::planter, 1), (WorkerLook{1, 0, ""}));
    o.setLook(WorkerLook{1, 4, "보리"}, WorkerRole::harvester, 1);
    EXPECT_EQ(o.look(WorkerRole::harvester, 1), (WorkerLook{1, 4, "보리"}));
    EXPECT_EQ(o.looks.count("harvester-1"), 1u);
    EXPECT_EQ(o.look(WorkerRole::harvester, 0), (WorkerLook{0, 0, ""}));
}

} // namespace
} // namespace pipfield
