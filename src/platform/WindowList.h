#pragma once

#include <QRectF>

#include <optional>
#include <vector>

namespace pipfield {

/// One window on screen: its stacking layer and its rectangle in the desktop's logical coordinates
/// (top-left origin, y downward).
struct WindowEntry {
    int layer = 0;
    QRectF bounds;
};

/// The windows currently shown, as the window system reports them.
class WindowList {
public:
    /// Ordinary application windows.
    static constexpr int kNormalLayer = 0;
    /// Panels and docks: the desktop's equivalent of a menu bar.
    static constexpr int kMenuBarLayer = 24;

    virtual ~WindowList() = default;
    /// Nothing when the list cannot be read.
    virtual std::optional<std::vector<WindowEntry>> onScreenWindows() const = 0;
};

} // namespace pipfield
