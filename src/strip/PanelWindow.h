#pragma once

#include "strip/StripSurface.h"

#include <QObject>
#include <QRect>
#include <QRegion>

class QScreen;
class QWidget;

namespace pipfield {

/// The window a strip panel shows the scene in: one Qt shows and paints (wherever Qt runs), or one
/// of the desktop's own that paints from buffers of its own (X11). The panel decides where and when;
/// the window only carries it out.
class PanelWindow : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~PanelWindow() override = default;

    /// The scene to show; the content is the panel's and outlives the window's use of it.
    virtual void setContent(const StripSurface::Content* content) = 0;
    /// Moves the window to `frame`, in points of the desktop, on `screen`, whose device pixels it takes.
    virtual void setFrame(const QRect& frame, QScreen* screen) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    /// The screen the window is on; null before it is placed.
    virtual QScreen* screen() const = 0;
    /// Whether clicks fall through to the windows below; applies to a shown window only, since a window
    /// manager's frame swallows an input shape set before it took the window on.
    virtual void setClickThrough(bool on) = 0;
    /// The window-system id that the desktop's panel hints are set on.
    virtual quintptr nativeId() const = 0;
    /// Part of the content changed (its points) and must be painted again.
    virtual void damage(const QRegion& region) = 0;
    /// Whether its translucent pixels can show what lies below, where a compositing manager blends them.
    virtual bool translucent() const { return true; }
    /// Translucent where a compositing manager blends the window with the desktop, opaque where none
    /// does (the scene then paints every pixel). True when that took a new native window, withdrawn,
    /// which the panel must make a panel and show again.
    virtual bool setTranslucent(bool /*on*/) { return false; }
    /// The Qt widget that is the window, for what grabs one (snapshots); null for a native window.
    virtual QWidget* widget() const { return nullptr; }

Q_SIGNALS:
    /// The window went to another screen, whose pixels the scene now takes.
    void screenChanged();
};

} // namespace pipfield
