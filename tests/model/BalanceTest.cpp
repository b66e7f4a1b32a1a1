#include "model/Balance.h"

#include "model/Orchard.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

struct PriceRow {
    std::int64_t level, planter, caretaker, harvester;
    std::int64_t crate; // 0 where the level cannot be reached
};

class PriceCheckpoints : public testing::TestWithParam<PriceRow> {};

TEST_P(PriceCheckpoints, MatchTheTable) {
    const PriceRow row = GetParam();
    EXPECT_EQ(Balance::workerCost(WorkerRole::planter, row.level), row.planter);
    EXPECT_EQ(Balance::workerCost(WorkerRole::caretaker, row.level), row.caretaker);
    EXPECT_EQ(Balance::workerCost(WorkerRole::harvester, row.level), row.harvester);
    if (row.crate != 0) {
        EXPECT_EQ(Balance::crateCapacity(row.level), row.crate);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, PriceCheckpoints,
    testing::Values(PriceRow{0, 40, 25, 60, 40}, PriceRow{1, 84, 53, 126, 60}, PriceRow{4, 778, 486, 1167, 203},
                    PriceRow{10, 66720, 41700, 100079, 2307}, PriceRow{12, 294233, 183896, 441350, 5190},
                    PriceRow{13, 617890, 386181, 926834, 6487}, PriceRow{14, 1297568, 810980, 1946352, 8109},
                    PriceRow{18, 25235232, 15772020, 37852848, 19798}, PriceRow{19, 52993987, 33121242, 79490980, 0}));

TEST(Balance, GearTiersStepAtFiveTenFifteenTwentyAndTheTopLevelWearsTheLast) {
    const std::pair<std::int64_t, int> tiers[] = {{0, 0},  {4, 0},  {5, 1},  {9, 1},  {10, 2},
                                                  {14, 2}, {15, 3}, {19, 3}, {20, 4}, {1000, 4}};
    for (const auto& [level, tier] : tiers) {
        EXPECT_EQ(Balance::gearTier(level), tier) << level;
    }
    // The workers tab offers no further set from this tier on.
    EXPECT_EQ(Balance::gearTier(Orchard::maxWorkerLevel), Balance::maxGearTier);
}

TEST(Balance, MultipliersApplyCrewOnlyToTheLevelPart) {
    EXPECT_EQ(Balance::growthMultiplier(0, 0, Season::summer), 1.0);
    EXPECT_EQ(Balance::growthMultiplier(0, 0, Season::spring), 1.15);
    EXPECT_EQ(Balance::harvestRate(1, 1, Season::autumn), 0.075);
    EXPECT_DOUBLE_EQ(Balance::harvestRate(1, 2, Season::summer), 0.09);
    EXPECT_EQ(Balance::harvestRate(0, 0, Season::autumn), 0.0);
    // A crew of 0 counts like a crew of 1.
    EXPECT_EQ(Balance::harvestRate(3, 0, Season::spring), Balance::harvestRate(3, 1, Season::spring));
}

} // namespace
} // namespace pipfield
