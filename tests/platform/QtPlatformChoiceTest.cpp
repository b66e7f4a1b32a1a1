#include "platform/QtPlatformChoice.h"

#include <gtest/gtest.h>

namespace pipfield {
namespace {

TEST(QtPlatformChoice, ChoosesThePlatformForTheWindows) {
    const struct {
        const char* what;
        SessionFacts facts;
        const char* expected; // empty: Qt's own choice
    } cases[] = {
        {"X11 session", {{}, "x11", false, true, false}, ""},
        {"no session type, X11 only", {{}, {}, false, true, false}, ""},
        {"sway: layer shell", {{}, "wayland", true, true, true}, "wayland;xcb"},
        {"layer shell without a session type", {{}, {}, true, false, true}, "wayland;xcb"},
        {"GNOME on Wayland: the X11 dock through XWayland", {{}, "wayland", true, true, false}, "xcb;wayland"},
        {"Wayland without XWayland", {{}, "wayland", true, false, false}, "wayland;xcb"},
        {"the player's choice stays", {"xcb", "wayland", true, true, true}, ""},
        {"the player's Wayland stays on GNOME", {"wayland", "wayland", true, true, false}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qtPlatformFor(c.facts), QByteArray(c.expected)) << c.what;
    }
}

} // namespace
} // namespace pipfield
