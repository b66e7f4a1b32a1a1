#include <gtest/gtest.h>

#include "strip/StripGeometry.h"

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

struct FullScreenCase {
    const char* what;
    std::vector<WindowEntry> windows;
    bool expected;
};

class FullScreenRule : public testing::TestWithParam<FullScreenCase> {};

const QRect kScreen(0, 0, 1920, 1080);
constexpr int kNormal = WindowList::kNormalLayer;
constexpr int kPanel = WindowList::kMenuBarLayer;

TEST_P(FullScreenRule, OnA1920By1080Screen) {
    EXPECT_EQ(fullScreenWindowOn(kScreen, 0, GetParam().windows), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullScreenRule,
    testing::Values(FullScreenCase{"nothing open", {}, false},
                    FullScreenCase{"video player in full screen", {{kNormal, QRectF(0, 0, 1920, 1080)}}, true},
                    FullScreenCase{"full screen with a bottom panel hidden under it",
                                   {{kPanel, QRectF(0, 1040, 1920, 40)}, {kNormal, QRectF(0, 0, 1920, 1080)}},
                                   true},
                    FullScreenCase{"maximized under a top panel",
                                   {{kPanel, QRectF(0, 0, 1920, 28)}, {kNormal, QRectF(0, 28, 1920, 1052)}},
                                   false},
                    FullScreenCase{"a top panel over a full-size window still counts as a menu bar",
                                   {{kNormal, QRectF(0, 0, 1920, 1080)}, {kPanel, QRectF(0, 0, 1920, 28)}},
                                   false},
                    FullScreenCase{"maximized above a bottom panel stops short of the bottom",
                                   {{kNormal, QRectF(0, 0, 1920, 1040)}, {kPanel, QRectF(0, 1040, 1920, 40)}},
                                   false},
                    FullScreenCase{"full screen on the other screen", {{kNormal, QRectF(1920, 0, 1920, 1080)}}, false},
                    FullScreenCase{
                        "half a pixel off is still the edge", {{kNormal, QRectF(0.5, 0.4, 1919.2, 1080)}}, true},
                    FullScreenCase{"a dialog layer above does not count", {{3, QRectF(0, 0, 1920, 1080)}}, false},
                    FullScreenCase{"narrower than the screen", {{kNormal, QRectF(0, 0, 1900, 1080)}}, false}));

TEST(FullScreenRule, TopInsetMovesTheLimit) {
    const std::vector<WindowEntry> belowNotch = {{kNormal, QRectF(0, 32, 1920, 1048)}};
    EXPECT_FALSE(fullScreenWindowOn(kScreen, 0, belowNotch));
    EXPECT_TRUE(fullScreenWindowOn(kScreen, 32, belowNotch));
}

TEST(DisplayNumber, StableNonZeroAndDistinct) {
    const auto a = StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", "ABC123");
    EXPECT_EQ(a, StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", "ABC123"));
    EXPECT_NE(a, StripGeometry::displayNumber("DP-2", "Dell", "U2720Q", "ABC123"));
    EXPECT_NE(a, StripGeometry::displayNumber("DP-1", "Dell", "U2720Q", "ABC124"));
    EXPECT_NE(a, 0u);
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

} // namespace
} // namespace pipfield
