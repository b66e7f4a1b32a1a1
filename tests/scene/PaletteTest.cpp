#include "scene/Palette.h"

#include <gtest/gtest.h>

using namespace pipfield;

namespace {

TEST(Palette, ThemesByRawValue) {
    for (Palette::Theme theme : Palette::allThemes) {
        EXPECT_EQ(Palette::themeFromRaw(Palette::rawValue(theme)), theme);
    }
    EXPECT_FALSE(Palette::themeFromRaw("Sunny"));
    EXPECT_FALSE(Palette::themeFromRaw(""));
}

TEST(Palette, DyeIndicesOutsideTheTableMeanNoDye) {
    for (const auto& [dye, hasHue] : {std::pair{-1, false}, {0, false}, {7, false}, {1, true}, {6, true}}) {
        EXPECT_EQ(Palette::dyeHue(dye).has_value(), hasHue) << dye;
    }
    EXPECT_NE(Palette::dyeName(3), Palette::dyeName(0));
    EXPECT_EQ(Palette::dyeName(-4), Palette::dyeName(0));
}

TEST(Palette, DyeTableSkipsWhatDoesNotParse) {
    const auto table = Palette::parseDyeColors(R"({
        "harvester-walk": ["f2c14e", "+D9A43A", "zz", "0x12", "", "1ffffffff", 42, "ffffffff"],
        "planter-idle": "f2c14e",
        "caretaker-dig": []
    })");
    EXPECT_EQ(table.value("harvester-walk"), (QSet<quint32>{0xf2c14e, 0xd9a43a, 0xffffffff}));
    EXPECT_FALSE(table.contains("planter-idle"));
    EXPECT_TRUE(table.value("caretaker-dig").isEmpty());

    EXPECT_TRUE(Palette::parseDyeColors("").isEmpty());
    EXPECT_TRUE(Palette::parseDyeColors("[\"f2c14e\"]").isEmpty());
    EXPECT_TRUE(Palette::parseDyeColors("{\"a\": [\"f2c14e\"").isEmpty());
}

} // namespace
