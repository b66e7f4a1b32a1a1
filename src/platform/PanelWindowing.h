#pragma once

class QWindow;

namespace pipfield {

/// What the window system must be told so that a window behaves as a desktop panel.
class PanelWindowing {
public:
    virtual ~PanelWindowing() = default;
    /// Docked, on every desktop, above ordinary windows, out of the taskbar and pager. Call after the
    /// native window exists and before its first show, and again after any change of its flags.
    virtual void makePanel(QWindow* window) const = 0;
};

} // namespace pipfield
