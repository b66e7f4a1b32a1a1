#pragma once

#include <QObject>

namespace pipfield {

/// Changes of the desktop that can put a full-screen window over the strip or take it away, and
/// whether a compositing manager draws translucent windows.
class DesktopEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~DesktopEvents() override = default;

    /// True when translucent windows are blended with what lies below them.
    virtual bool compositing() const = 0;

Q_SIGNALS:
    /// The current virtual desktop changed.
    void desktopSwitched();
    /// Another window came to the front, or the front window changed its state (full screen, maximized).
    void activeWindowChanged();
    void compositingChanged(bool on);
};

} // namespace pipfield
