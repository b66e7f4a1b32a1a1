#include "strip/StripGeometry.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

using StripGeometry::frameFor;
using StripGeometry::fullScreenWindowOn;

TEST(StripPlacement, BottomCentreOfTheAvailableArea) {
    // 1440 wide, 25 high dock below: the available area ends 25 above the screen's bottom.
    EXPECT_EQ(frameFor(QRect(0, 0, 1440, 875)), QRect(347, 803, 746, 72));
    EXPECT_EQ(frameFor(QRect(0, 30, 600, 770)), QRect(0, 728, 600, 72));
    // An odd width puts the middle on a half point: 500.5 - 373 = 127.5, rounded away from zero.
    EXPECT_EQ(frameFor(QRect(0, 0, 1001, 700)).x(), 128);
    // A second screen to the left of the primary one.
    EXPECT_EQ(frameFor(QRect(-1920, 0, 1920, 1080)), QRect(-1920 + 587, 1008, 746, 72));
}

TEST(StripPlacement, AFractionalScreenGetsTheArtWholeAtTheNearestScale) {
    // 2880 x 1800 at 1.5 is 1920 x 1200 points: the art at 2, 747 x 72 art pixels in 1494 x 144
    // device pixels (746 x 2 would need 994.67 points).
    EXPECT_EQ(frameFor(QRect(0, 0, 1920, 1200), 1.5), QRect(462, 1104, 996, 96));
    // At 1.25 the art stays at 1 and the frame shrinks in points to hold it.
    EXPECT_EQ(frameFor(QRect(0, 0, 1536, 960), 1.25), QRect(470, 902, 597, 58));
    // A screen of 600 points at 1.5 has 900 device pixels: too few for the orchard at 2, so the art
    // is drawn at 1 and the strip has its 746 art pixels in 497 points.
    EXPECT_EQ(frameFor(QRect(0, 0, 600, 1200), 1.5), QRect(52, 1152, 497, 48));
    // An output a compositor calls absurdly wide at an absurd scale still gets the strip's art.
    EXPECT_EQ(frameFor(QRect(0, 0, 1 << 30, 1080), 16).size(), QSize(746, 72));
}

TEST(FullScreenRule, OnA1920By1080Screen) {
    constexpr auto kOrdinary = WindowEntry::Kind::Ordinary;
    constexpr auto kFull = WindowEntry::Kind::FullScreen;
    constexpr auto kUnmanaged = WindowEntry::Kind::Unmanaged;
    const struct {
        const char* what;
        std::vector<WindowEntry> windows;
        bool expected;
    } cases[] = {
        {"nothing open", {}, false},
        {"video player in full screen", {{kFull, {0, 0, 1920, 1080}}}, true},
        {"maximised without decorations: covers the screen, no full screen", {{kOrdinary, {0, 0, 1920, 1080}}}, false},
        {"an old game's unmanaged window over the whole screen", {{kUnmanaged, {0, 0, 1920, 1080}}}, true},
        {"an unmanaged menu or tooltip", {{kUnmanaged, {100, 100, 300, 400}}}, false},
        {"full screen on the other screen", {{kFull, {1920, 0, 1920, 1080}}}, false},
        {"full screen across both screens covers this one too", {{kFull, {0, 0, 3840, 1080}}}, true},
        {"half a pixel off is still the edge", {{kFull, {0.5, 0.4, 1919.2, 1080}}}, true},
        {"full screen inside an X border of its own (xev keeps 2 pixels)", {{kFull, {2, 2, 1916, 1076}}}, true},
        {"full screen not yet resized: the state says so, its middle where", {{kFull, {100, 100, 400, 200}}}, true},
        {"full screen a few pixels short on the other screen", {{kFull, {1922, 2, 1916, 1076}}}, false},
        {"full screen reaching in from the other screen, its middle there", {{kFull, {1000, 0, 1920, 1080}}}, false},
        {"a middle on the left edge is this screen's", {{kFull, {-960, 0, 1920, 1080}}}, true},
        {"a middle on the right edge is the next screen's", {{kFull, {960, 0, 1920, 1080}}}, false},
        {"a middle below the screen is not on it", {{kFull, {0, 600, 1920, 960}}}, false},
        {"an unmanaged window a few pixels short of the screen", {{kUnmanaged, {2, 2, 1916, 1076}}}, false},
        {"one of several counts", {{kOrdinary, {0, 0, 1920, 1080}}, {kFull, {0, 0, 1920, 1080}}}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fullScreenWindowOn(QRect(0, 0, 1920, 1080), c.windows), c.expected) << c.what;
    }
}

TEST(StripScreen, ChosenNumberElseTheFocusedWindowsScreenElsePrimary) {
    const std::vector<std::uint32_t> numbers{111, 222};
    const std::vector<QRect> frames{QRect(0, 0, 1920, 1080), QRect(1920, 0, 2560, 1440)};
    const std::optional<QRectF> onRight = QRectF(2500, 300, 800, 600);
    using StripGeometry::chooseScreen;
    EXPECT_EQ(chooseScreen(numbers, frames, 111, onRight, 0), 0) << "the player's choice wins";
    EXPECT_EQ(chooseScreen(numbers, frames, 0, onRight, 0), 1) << "any screen: where the focus is";
    EXPECT_EQ(chooseScreen(numbers, frames, 999, onRight, 0), 1) << "unplugged: where the focus is";
    // A window straddling both screens belongs to the one holding its middle.
    EXPECT_EQ(chooseScreen(numbers, frames, 0, QRectF(1500, 0, 1000, 500), 0), 1);
    EXPECT_EQ(chooseScreen(numbers, frames, 0, std::nullopt, 1), 1) << "no focused window: the primary";
    EXPECT_EQ(chooseScreen(numbers, frames, 0, QRectF(-5000, 0, 10, 10), 1), 1) << "focus off every screen";
    EXPECT_EQ(chooseScreen(numbers, frames, 0, std::nullopt, -1), 0) << "no primary: the first";
    EXPECT_EQ(chooseScreen({}, {}, 0, onRight, 0), -1);
}

TEST(DisplayNumber, FollowsTheMonitorNotTheConnector) {
    const auto dell = StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", "ABC123");
    EXPECT_NE(dell, 0u);
    // Plugged into another port, or named otherwise by XWayland: the same monitor, the same number.
    EXPECT_EQ(dell, StripGeometry::displayNumber("DP-2", "Dell", "U2720Q", "ABC123"));
    EXPECT_EQ(dell, StripGeometry::displayNumber("XWAYLAND1", "Dell", "U2720Q", "ABC123"));
    // Another monitor of the same model.
    EXPECT_NE(dell, StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", "ABC124"));
    // Two of one model without serial numbers: told apart by where they are plugged in.
    EXPECT_NE(StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", ""),
              StripGeometry::displayNumber("DP-2", "Dell", "U2720Q", ""));
    // No identity at all: the name is what there is.
    EXPECT_NE(StripGeometry::displayNumber("Virtual-1", "", "", ""),
              StripGeometry::displayNumber("Virtual-2", "", "", ""));
    EXPECT_EQ(StripGeometry::displayNumber(nullptr), 0u);
}

TEST(StripGeometry, WaylandOutputNumbersComeFromNameAndDescription) {
    // The number a player stored for sway's second headless output must survive restarts and updates.
    EXPECT_EQ(StripGeometry::displayNumber("HEADLESS-2", "Headless output 2"), 90119804u);
    EXPECT_EQ(StripGeometry::displayNumber("HEADLESS-1", "Headless output 1"), 2237175184u);
    const auto dell = StripGeometry::displayNumber("DP-1", "Dell Inc. DELL U2720Q ABC123 (DP-1)");
    EXPECT_NE(dell, StripGeometry::displayNumber("DP-2", "Dell Inc. DELL U2720Q ABC123 (DP-1)"));
    EXPECT_NE(dell, StripGeometry::displayNumber("DP-1", "Dell Inc. DELL U2720Q ABC124 (DP-1)"));
    // Where the name ends and the description begins is part of the identity.
    EXPECT_NE(StripGeometry::displayNumber("DP-1", "X"), StripGeometry::displayNumber("DP-1X", ""));
    EXPECT_NE(StripGeometry::displayNumber("", ""), 0u);
}

TEST(OutputPlacement, TheChosenOutputElseTheCompositorsChoiceSizedByTheFirst) {
    using StripGeometry::placeOnOutput;
    const auto number = [](const char* name, const char* description) {
        return static_cast<qint64>(StripGeometry::displayNumber(name, description));
    };
    const StripGeometry::Output first{"HEADLESS-1", "Headless output 1", QSize(1920, 1080)};
    const StripGeometry::Output narrow{"HEADLESS-2", "Headless output 2", QSize(600, 400)};
    const qint64 second = number("HEADLESS-2", "Headless output 2");
    EXPECT_EQ(placeOnOutput({first, narrow}, 0), (StripGeometry::OutputPlacement{"", QSize(746, 72)}));
    EXPECT_EQ(placeOnOutput({first, narrow}, second), (StripGeometry::OutputPlacement{"HEADLESS-2", QSize(600, 72)}));
    EXPECT_EQ(placeOnOutput({first, narrow}, number("HEADLESS-1", "Headless output 1")),
              (StripGeometry::OutputPlacement{"HEADLESS-1", QSize(746, 72)}));
    // Not plugged in (yet, or any more): the compositor's choice, the choice kept for its return.
    EXPECT_EQ(placeOnOutput({first}, second), (StripGeometry::OutputPlacement{"", QSize(746, 72)}));
    EXPECT_EQ(placeOnOutput({narrow, first}, 12345), (StripGeometry::OutputPlacement{"", QSize(600, 72)}));
    EXPECT_EQ(placeOnOutput({}, second), (StripGeometry::OutputPlacement{"", QSize(746, 72)}))
        << "no outputs yet: a full-size strip";
}

TEST(OutputPlacement, SettingsOfferTheOutputsByDescription) {
    const auto choices = StripGeometry::outputChoices(
        {{"HEADLESS-1", "Headless output 1", QSize(1920, 1080)}, {"DP-1", "", QSize(2560, 1440)}});
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].id, StripGeometry::displayNumber("HEADLESS-1", "Headless output 1"));
    EXPECT_EQ(choices[0].name, "Headless output 1");
    EXPECT_EQ(choices[1].id, StripGeometry::displayNumber("DP-1", ""));
    EXPECT_EQ(choices[1].name, "DP-1") << "without a description the name is shown";
}

} // namespace
} // namespace pipfield
