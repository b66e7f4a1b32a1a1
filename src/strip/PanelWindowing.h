#pragma once

#include <QtGlobal>

namespace pipfield {

/// What the window system must be told so that a window (by its native id) behaves as a desktop panel.
class PanelWindowing {
public:
    virtual ~PanelWindowing() = default;
    /// Docked, on every desktop, above ordinary windows, out of the taskbar and pager. Call after the
    /// native window exists and before every show (the window manager forgets a withdrawn window's
    /// desktop and states), and again after any change of its flags.
    virtual void makePanel(quintptr window) const = 0;
    /// Call after every show: the window manager now owns the desktop and the states, and only takes
    /// changes of them as requests.
    virtual void panelShown(quintptr /*window*/) const {}
    /// Keeps the shown panel above every other window, full-screen ones included, while `on`; call
    /// again whenever the stacking may have changed. Off, it is a panel among the others again.
    virtual void keepAboveAll(quintptr /*window*/, bool /*on*/) const {}
};

} // namespace pipfield
