#pragma once

#include "strip/DesktopEvents.h"
#include "strip/WindowList.h"

namespace pipfield {

/// A desktop the program cannot look into (a platform other than X11): no window list, no events,
/// and translucency left to the platform, which composites every window.
class NoDesktop final : public DesktopEvents, public WindowList {
    Q_OBJECT

public:
    using DesktopEvents::DesktopEvents;
    bool compositing() const override { return true; }
    std::optional<std::vector<WindowEntry>> onScreenWindows() const override { return std::nullopt; }
};

} // namespace pipfield
