#include "platform/QtPlatformChoice.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

struct PlatformCase {
    const char* what;
    SessionFacts facts;
    const char* expected; // empty: Qt's own choice
};

class QtPlatformChoiceTest : public testing::TestWithParam<PlatformCase> {};

TEST_P(QtPlatformChoiceTest, ChoosesThePlatformForTheWindows) {
    EXPECT_EQ(qtPlatformFor(GetParam().facts), QByteArray(GetParam().expected)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, QtPlatformChoiceTest,
    testing::Values(
        PlatformCase{"X11 session", {{}, "x11", false, true, false}, ""},
        PlatformCase{"no session type, X11 only", {{}, {}, false, true, false}, ""},
        PlatformCase{"sway: layer shell", {{}, "wayland", true, true, true}, "wayland;xcb"},
        PlatformCase{"layer shell without a session type", {{}, {}, true, false, true}, "wayland;xcb"},
        PlatformCase{
            "GNOME on Wayland: the X11 dock through XWayland", {{}, "wayland", true, true, false}, "xcb;wayland"},
        PlatformCase{"Wayland without XWayland", {{}, "wayland", true, false, false}, "wayland;xcb"},
        PlatformCase{"the player's choice stays", {"xcb", "wayland", true, true, true}, ""},
        PlatformCase{"the player's Wayland stays on GNOME", {"wayland", "wayland", true, true, false}, ""}));

} // namespace
} // namespace pipfield
