#include "scene/WorkerSheet.h"

#include "FakeArt.h"
#include "scene/Sprite.h"

#include <gtest/gtest.h>

using namespace pipfield;

namespace {

class WorkerSheetTest : public ::testing::Test {
protected:
    FakeArt art;
    Palette::DyeColors dyes;
    QString sheet(int variant, int tier) {
        Sprite sprites(art.source(), &dyes, 1);
        return WorkerSheet::name(sprites, WorkerRole::harvester, variant, tier, "walk");
    }
};

TEST_F(WorkerSheetTest, TriesFromTheMostSpecificSheetDownToThePlainName) {
    EXPECT_EQ(sheet(1, 2), "harvester-walk") << "no art at all";
    EXPECT_EQ(*art.asked, QStringList({"harvesterb-t2-walk-0", "harvesterb-t1-walk-0", "harvesterb-walk-0",
                                       "harvester-t2-walk-0", "harvester-t1-walk-0", "harvester-walk-0"}));
    EXPECT_EQ(sheet(7, 0), "harvester-walk");
    art.add("harvester-walk-0");
    art.add("harvester-t1-walk-0");
    EXPECT_EQ(sheet(1, 2), "harvester-t1-walk");
    EXPECT_EQ(sheet(0, 0), "harvester-walk");
    art.add("harvesterb-walk-0");
    EXPECT_EQ(sheet(1, 2), "harvesterb-walk");
    EXPECT_EQ(sheet(0, 4), "harvester-t1-walk");
    art.add("harvesterb-t2-walk-0");
    EXPECT_EQ(sheet(1, 2), "harvesterb-t2-walk");
    EXPECT_EQ(sheet(1, 1), "harvesterb-walk");
}

} // namespace
