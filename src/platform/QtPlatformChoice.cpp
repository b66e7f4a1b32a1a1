#include "platform/QtPlatformChoice.h"

namespace pipfield {

QByteArray qtPlatformFor(const SessionFacts& facts) {
    if (!facts.chosenPlatform.isEmpty()) {
        return {};
    }
    const bool wayland = facts.waylandDisplay || facts.sessionType == "wayland";
    if (!wayland) {
        return {};
    }
    // The strip does not need Qt on a compositor with the layer shell: the other windows then go
    // natively, sharp at any output scale and without waiting for XWayland to start.
    if (facts.layerShell || !facts.x11Display) {
        return QByteArrayLiteral("wayland;xcb");
    }
    // Elsewhere (GNOME) only an X11 dock window is kept at the screen's edge and above others; when
    // XWayland cannot be reached, Qt falls back to its Wayland platform rather than giving up.
    return QByteArrayLiteral("xcb;wayland");
}

} // namespace pipfield
