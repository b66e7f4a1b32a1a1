#include "model/Catalog.h"

#include "model/Balance.h"
#include "model/Text.h"

#include <gtest/gtest.h>

#include <array>

namespace pipfield {
namespace {

struct EffectRow {
    std::int64_t level;
    int planter, caretaker, harvester;
};

class WorkerEffectText : public testing::TestWithParam<EffectRow> {};

TEST_P(WorkerEffectText, TruncatesLikeTheGame) {
    const EffectRow row = GetParam();
    EXPECT_EQ(effect(WorkerRole::planter, row.level), "판매가 +" + std::to_string(row.planter) + "%");
    EXPECT_EQ(effect(WorkerRole::caretaker, row.level), "성장 속도 +" + std::to_string(row.caretaker) + "%");
    EXPECT_EQ(effect(WorkerRole::harvester, row.level), "1분에 " + std::to_string(row.harvester) + "개 수확");
}

INSTANTIATE_TEST_SUITE_P(Levels, WorkerEffectText,
                         testing::Values(EffectRow{0, 0, 0, 0}, EffectRow{1, 12, 15, 3}, EffectRow{2, 24, 30, 7},
                                         EffectRow{3, 35, 45, 10}, EffectRow{5, 60, 75, 18}, EffectRow{7, 83, 105, 25},
                                         EffectRow{10, 120, 150, 36}, EffectRow{11, 131, 165, 39},
                                         EffectRow{15, 179, 225, 53}, EffectRow{20, 240, 300, 72}));

// The saved names: every kind's round trip is in the save file's tests.
TEST(Catalog, RawNamesAreReadExactly) {
    EXPECT_EQ(rawValue(TreeKind::grapefruit), "grapefruit");
    EXPECT_EQ(treeKindFromRaw("Eureka"), std::nullopt);
    EXPECT_EQ(workerRoleFromRaw("harvester"), WorkerRole::harvester);
    EXPECT_EQ(seasonFromRaw("fall"), std::nullopt);
    EXPECT_EQ(seasonFromRaw("autumn"), Season::autumn);
}

TEST(Catalog, SeasonsFollowTheMonth) {
    const Season expected[12] = {Season::winter, Season::winter, Season::spring, Season::spring,
                                 Season::spring, Season::summer, Season::summer, Season::summer,
                                 Season::autumn, Season::autumn, Season::autumn, Season::winter};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(seasonForMonth(month), expected[month - 1]) << "month " << month;
    }
}

TEST(Catalog, EveryBodyButTheFirstTakesTheSecondNameAndUnknownGearIsTheBasicSet) {
    EXPECT_NE(defaultName(WorkerRole::planter, 0), defaultName(WorkerRole::planter, 1));
    EXPECT_EQ(defaultName(WorkerRole::caretaker, -3), defaultName(WorkerRole::caretaker, 1));
    EXPECT_EQ(defaultName(WorkerRole::harvester, 7), defaultName(WorkerRole::harvester, 1));
    EXPECT_NE(Balance::gearName(4), Balance::gearName(0));
    EXPECT_EQ(Balance::gearName(5), Balance::gearName(0));
    EXPECT_EQ(Balance::gearName(-1), Balance::gearName(0));
}

TEST(Catalog, DisplayTextsGoThroughTheInstalledLookup) {
    installTextLookup([](std::string_view korean) {
        if (korean == "판매가 +%1%%") {
            return std::string("Price +%1%%");
        }
        return "[" + std::string(korean) + "]";
    });
    EXPECT_EQ(name(TreeKind::lime), "[라임]");
    EXPECT_EQ(effect(WorkerRole::planter, 3), "Price +35%");
    EXPECT_EQ(effect(WorkerRole::harvester, 1), "[1분에 3개 수확]");
    installTextLookup(nullptr);
    EXPECT_EQ(name(TreeKind::lime), "라임");
}

TEST(Text, FillPlacesInAnyOrderWithADoubledPercentForAPercentSign) {
    const std::array<std::string_view, 3> v = {"a", "%1 50%", "c"};
    EXPECT_EQ(fillPlaces("%3 then %1", v), "c then a");
    EXPECT_EQ(fillPlaces("+%1%%", v), "+a%");
    EXPECT_EQ(fillPlaces("%%1 is %1", v), "%1 is a");
    // A value is never read again for places, whatever it holds.
    EXPECT_EQ(fillPlaces("with %2!", v), "with %1 50%!");
    // What is no place stands as written: a lone percent, one at the end, a place with no value.
    EXPECT_EQ(fillPlaces("50% off %", v), "50% off %");
    EXPECT_EQ(fillPlaces("%4 %9 %0", v), "%4 %9 %0");
    EXPECT_EQ(fillPlaces("%1", {}), "%1");
}

} // namespace
} // namespace pipfield
