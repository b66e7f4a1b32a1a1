#pragma once

#include <QRectF>

#include <optional>
#include <vector>

namespace pipfield {

/// One window on screen: how it covers the screen and its rectangle in the desktop's logical
/// coordinates (top-left origin, y downward).
struct WindowEntry {
    enum class Kind {
        /// A managed window in any other state, maximised ones included.
        Ordinary,
        /// A managed window that asked the window manager for full screen.
        FullScreen,
        /// A window the window manager does not manage (override-redirect), as older games use.
        Unmanaged,
    };
    Kind kind = Kind::Ordinary;
    QRectF bounds;
};

/// The windows currently shown on the current desktop, as the window system reports them.
class WindowList {
public:
    virtual ~WindowList() = default;
    /// Nothing when the list cannot be read.
    virtual std::optional<std::vector<WindowEntry>> onScreenWindows() const = 0;
    /// The rectangle of the window that has the focus, in the same coordinates; nothing when no
    /// window has it or it cannot be told.
    virtual std::optional<QRectF> focusedWindow() const { return std::nullopt; }
};

} // namespace pipfield
