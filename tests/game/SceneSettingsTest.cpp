// The scene's settings: one owner, read once at start, written through only for the player's choices,
// and each real change told once. What the strip makes of them is tested with the view.

#include "support/GameTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(SceneSettings, HourOverrideReadsDecimalIntegersOnly) {
    const std::pair<const char*, int> numbers[] = {
        {"07", 7}, {"30", 30}, {"-2", -2}, {"+9", 9}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, hour] : numbers) {
        EXPECT_EQ(SceneSettings::parseHour(text), hour) << text;
    }
    for (const char* text : {"", "noon", "7.5", " 7", "+", "2147483648", "99999999999"}) {
        EXPECT_EQ(SceneSettings::parseHour(text), std::nullopt) << "not a decimal integer that fits: " << text;
    }
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
    settings.setDesktopReducesMotion(true);
    EXPECT_FALSE(settings.reduceMotion()) << "the player's choice wins over the desktop's";
    settings.holdStill();
    EXPECT_TRUE(settings.reduceMotion());

    GameWorld capitalised(kNoon, {{"season", "Winter"}});
    EXPECT_EQ(capitalised.launch()->sceneSettings().seasonOverride(), std::nullopt) << "a raw name exactly";
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
        // Told at once, and not again for the same value.
        for (const QSignalSpy* spy : {&theme, &light, &motion, &hour, &season}) {
            EXPECT_EQ(spy->count(), 1) << spy->signal().toStdString() << " in round " << twice;
        }
    }
    settings.setTheme("sunny");
    settings.holdStill(); // already reduced: no change to tell
    EXPECT_EQ(theme.count(), 2);
    EXPECT_EQ(motion.count(), 1);
    EXPECT_EQ(world.defaults.string("theme"), "sunny");
    EXPECT_EQ(world.defaults.value("timeOfDayLight"), false);
    EXPECT_FALSE(world.defaults.value("hour").isValid()) << "an override holds for this run only";
    EXPECT_FALSE(world.defaults.value("reduceMotion").isValid()) << "the desktop's switch is not the player's choice";
}

TEST(SceneSettings, PowerIsSavedWhileTheDesktopSavesItAndThePlayerFollowsIt) {
    GameWorld world(kNoon);
    const std::unique_ptr<Game> game = world.launch();
    SceneSettings& settings = game->sceneSettings();
    EXPECT_TRUE(settings.followPowerSaver()) << "followed unless the player says otherwise";
    EXPECT_FALSE(settings.powerSaving());
    QSignalSpy saving(&settings, &SceneSettings::powerSavingChanged);
    settings.setDesktopPowerSaver(true);
    settings.setDesktopPowerSaver(true);
    EXPECT_TRUE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 1);
    EXPECT_EQ(game->tickInterval(), 2000) << "the game looks at the clock every other second";

    settings.setFollowPowerSaver(false);
    EXPECT_FALSE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 2);
    EXPECT_FALSE(world.defaults.boolValue("followPowerSaver")) << "the player's choice is kept";

    settings.setFollowPowerSaver(true);
    settings.setDesktopPowerSaver(false);
    EXPECT_FALSE(settings.powerSaving());
    EXPECT_EQ(saving.size(), 4) << "on with the choice, off with the desktop";
    EXPECT_EQ(game->tickInterval(), 1000);
}

} // namespace
} // namespace pipfield::test
