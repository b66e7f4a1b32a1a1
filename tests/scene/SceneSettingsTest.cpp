// The scene's settings: one owner, read once, written through, and followed by the view as they change.

#include "game/SceneSettings.h"

#include "SceneTestSupport.h"
#include "scene/Grade.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pipfield;
using namespace pipfield::test;

namespace {

const Instant kNoon = localInstant(2024, 4, 10, 12);

TEST(SceneSettings, HourOverrideReadsDecimalIntegersOnly) {
    const std::pair<const char*, int> numbers[] = {
        {"07", 7}, {"30", 30}, {"-2", -2}, {"+9", 9}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, hour] : numbers) {
        EXPECT_EQ(SceneSettings::parseHour(text), hour) << text;
    }
    for (const char* text : {"", "noon", "7.5", " 7", "+", "2147483648", "99999999999"}) {
        EXPECT_EQ(SceneSettings::parseHour(text), std::nullopt) << "not a decimal integer that fits: " << text;
    }
    const QDateTime tenPast3(QDate(2024, 5, 1), QTime(15, 10));
    EXPECT_EQ(OrchardView::hour(std::nullopt, tenPast3), 15);
    EXPECT_EQ(OrchardView::hour(30, tenPast3), 30);
}

TEST(SceneSettings, ReadFromTheSettingsAtStart) {
    GameWorld world(kNoon, {{"hour", "22"}, {"season", "winter"}});
    world.defaults.setValue("theme", "neon");
    world.defaults.setValue("reduceMotion", false);
    const std::unique_ptr<Game> game = world.launch();
    SceneSettings& settings = game->sceneSettings();
    EXPECT_EQ(settings.hourOverride(), 22);
    EXPECT_EQ(settings.seasonOverride(), Season::winter);
    EXPECT_EQ(game->season(), Season::winter) << "the game itself follows the season override";
    EXPECT_TRUE(settings.timeOfDayLight());
    EXPECT_EQ(settings.theme(), "neon") << "text written by hand is passed on";
    EXPECT_EQ(Palette::themeNamed(settings.theme()), Palette::Theme::sunny);
    settings.setDesktopReducesMotion(true);
    EXPECT_FALSE(settings.reduceMotion()) << "the player's choice wins over the desktop's";
    settings.holdStill();
    EXPECT_TRUE(settings.reduceMotion());
}

TEST(SceneSettings, ASeasonOverrideIsARawNameExactly) {
    GameWorld world(kNoon, {{"season", "Winter"}});
    EXPECT_EQ(world.launch()->sceneSettings().seasonOverride(), std::nullopt);
}

TEST(SceneSettings, EachRealChangeSignalsOnceAndOnlyChoicesAreStored) {
    GameWorld world(kNoon);
    const std::unique_ptr<Game> game = world.launch();
    SceneSettings& settings = game->sceneSettings();
    EXPECT_EQ(settings.theme(), "sunny");
    QSignalSpy theme(&settings, &SceneSettings::themeChanged);
    QSignalSpy light(&settings, &SceneSettings::timeOfDayLightChanged);
    QSignalSpy motion(&settings, &SceneSettings::reduceMotionChanged);
    QSignalSpy hour(&settings, &SceneSettings::hourOverrideChanged);
    QSignalSpy season(&settings, &SceneSettings::seasonOverrideChanged);
    for (int twice = 0; twice < 2; ++twice) {
        settings.setTheme("moon");
        settings.setTimeOfDayLight(false);
        settings.setDesktopReducesMotion(true);
        settings.setHourOverride(5);
        settings.setSeasonOverride(Season::autumn);
    }
    settings.setTheme("sunny");
    settings.holdStill(); // already reduced: no change to tell
    EXPECT_EQ(theme.count(), 2);
    EXPECT_EQ(light.count(), 1);
    EXPECT_EQ(motion.count(), 1);
    EXPECT_EQ(hour.count(), 1);
    EXPECT_EQ(season.count(), 1);
    EXPECT_EQ(world.defaults.string("theme"), "sunny");
    EXPECT_EQ(world.defaults.value("timeOfDayLight"), false);
    EXPECT_FALSE(world.defaults.value("hour").isValid()) << "an override holds for this run only";
    EXPECT_FALSE(world.defaults.value("reduceMotion").isValid()) << "the desktop's switch is not the player's choice";
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
    EXPECT_EQ(scene.sprites.grade(), Grade::rule(Palette::Theme::moon, 22, false, false));
    EXPECT_NE(scene.colourNow(trunk), noon);
    EXPECT_EQ(scene.effects(), 0u) << "a redraw is no growth: nothing sparkles";
}

} // namespace

TEST(SceneSettings, ThePowerSaverQuietsTheSceneWhileItIsOnAndThePlayerFollowsIt) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 3)}), 5));
    SceneSettings& settings = scene.settings();
    EXPECT_TRUE(settings.followPowerSaver()) << "followed unless the player says otherwise";
    QSignalSpy saving(&settings, &SceneSettings::powerSavingChanged);
    settings.setDesktopPowerSaver(true);
    settings.setDesktopPowerSaver(true);
    ASSERT_TRUE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 1);

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
    EXPECT_FALSE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 2);
    EXPECT_FALSE(scene.world.defaults.boolValue("followPowerSaver")) << "the player's choice is kept";
    EXPECT_DOUBLE_EQ(2 * scene.view->night().lantern()->animation("anim")->duration(), savingFlicker)
        << "the lantern built anew at its usual pace";
    scene.game->harvest(0);
    scene.game->sellAll();
    scene.view->sync();
    EXPECT_GT(scene.effects("burst"), 0u) << "coins spring again";

    settings.setFollowPowerSaver(true);
    settings.setDesktopPowerSaver(false);
    EXPECT_FALSE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 4) << "on with the choice, off with the desktop";
}
