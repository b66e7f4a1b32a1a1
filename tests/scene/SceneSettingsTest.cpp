// What the strip makes of the scene's settings: it follows them as they change. The settings themselves
// are tested with the game, which owns them.

#include "game/SceneSettings.h"

#include "SceneTestSupport.h"

#include <gtest/gtest.h>

using namespace pipfield;
using namespace pipfield::test;

namespace {

TEST(SceneSettings, TheStripTakesAnHourOverrideAsItIsAndAThemeItDoesNotKnowAsSunny) {
    const QDateTime tenPast3(QDate(2024, 5, 1), QTime(15, 10));
    EXPECT_EQ(OrchardView::hour(std::nullopt, tenPast3), 15);
    EXPECT_EQ(OrchardView::hour(30, tenPast3), 30);
    EXPECT_EQ(Palette::themeNamed("neon"), Palette::Theme::sunny);
}

TEST(SceneSettings, TheViewOnScreenFollowsAtOnceWithoutATickAndOffScreenCatchesUpOnReturning) {
    SceneWorld scene(bareOrchard({mature(TreeKind::eureka)}));
    const QPointF trunk(scene.view->treeX(0), 10);
    const QColor noon = scene.colourNow(trunk);
    scene.settings().setHourOverride(22);
    EXPECT_FALSE(scene.view->night().lantern()) << "off screen: nobody is looking";
    scene.view->setOnScreen(true);
    EXPECT_TRUE(scene.view->night().lantern()) << "caught up on coming back";
    scene.settings().setHourOverride(12);
    EXPECT_FALSE(scene.view->night().lantern()) << "on screen: day came with no sync";

    scene.settings().setHourOverride(22);
    ASSERT_TRUE(scene.view->night().lantern()) << "night fell with no sync";
    EXPECT_EQ(scene.view->night().lantern()->position(), QPointF(scene.view->originX() + 64, 4));
    const QColor night = scene.colourNow(trunk);
    EXPECT_LT(night.green(), noon.green());

    scene.settings().setTimeOfDayLight(false);
    EXPECT_FALSE(scene.view->night().lantern());
    EXPECT_EQ(scene.colourNow(trunk), noon);

    scene.settings().setTheme("moon");
    EXPECT_NE(scene.colourNow(trunk), noon);
    EXPECT_EQ(scene.effects(), 0u) << "a redraw is no growth: nothing sparkles";
}

} // namespace

TEST(SceneSettings, ThePowerSaverQuietsTheSceneWhileItIsOnAndThePlayerFollowsIt) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 3)}), 5));
    SceneSettings& settings = scene.settings();
    settings.setDesktopPowerSaver(true);

    scene.view->setOnScreen(true);
    scene.settings().setHourOverride(22);
    const Animation* flicker = scene.view->night().lantern()->animation("anim");
    ASSERT_NE(flicker, nullptr) << "the lantern still flickers, only slower";
    const double savingFlicker = flicker->duration();
    scene.clock.advance(2);
    scene.game->sellAll();
    scene.view->sync();
    EXPECT_EQ(scene.effects(), 0u) << "no coins spring while power is saved";

    settings.setFollowPowerSaver(false);
    EXPECT_DOUBLE_EQ(2 * scene.view->night().lantern()->animation("anim")->duration(), savingFlicker)
        << "the lantern built anew at its usual pace";
    scene.game->harvest(0);
    scene.game->sellAll();
    scene.view->sync();
    EXPECT_GT(scene.effects("burst"), 0u) << "coins spring again";
}
