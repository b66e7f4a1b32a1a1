#pragma once

#include "strip/StripGeometry.h"

#include <QObject>
#include <QPointF>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QImage;
class QWidget;

namespace pipfield {

/// Whatever shows the strip on the desktop: a panel window that the window manager is asked to keep
/// in place (X11), or a layer surface the compositor places and stacks by itself (Wayland). The
/// strip says where, whether, and how; the surface carries it out as its desktop allows.
class StripSurface : public QObject {
    Q_OBJECT

public:
    using Screen = StripGeometry::ScreenChoice;

    /// The scene that fills the strip. A surface that shows Qt widgets shows `widget`, which paints
    /// itself; one that paints into buffers of its own uses the callbacks, in points with y growing
    /// downward from the top-left corner. Each surface calls only what applies to it.
    struct Content {
        QWidget* widget = nullptr;
        /// The widget's window moved to another screen: the scene takes its pixels from there.
        std::function<void()> screenChanged;
        /// Paints the region of the image anew, at its device pixel ratio: what it held there is
        /// replaced, by clear pixels under the scene where the image has an alpha channel and by
        /// black where it has none.
        std::function<void(QImage& image, const QRegion& region)> paint;
        /// Whether the scene is handing over a finished frame: what it damages now can be painted at once.
        std::function<bool()> frameReady;
        /// The surface got this size.
        std::function<void(QSize size)> resize;
        /// A left click reached the surface.
        std::function<void(QPointF point)> click;
        /// The surface went on screen or off it; nothing needs painting while off.
        std::function<void(bool shown)> shown;
        /// The surface has this many device pixels per art pixel; said after each change.
        std::function<void(int scale)> scale;

        /// A widget alone, which needs nothing of a surface but to be shown (what a test puts in a strip).
        static Content of(QWidget* widget) {
            Content content;
            content.widget = widget;
            return content;
        }
    };

    using QObject::QObject;
    ~StripSurface() override = default;

    /// The connected screens, in the desktop's order.
    virtual std::vector<Screen> screens() const = 0;
    /// Puts the strip at the bottom of the screen with this display number; with 0, or a number no
    /// screen has (unplugged), on the screen the desktop offers.
    virtual void place(qint64 screenID) = 0;
    virtual void setShown(bool shown) = 0;
    virtual void setClickThrough(bool on) = 0;
    /// Above full-screen windows, or out of their way so that they hide the strip.
    virtual void setAboveFullScreen(bool above) = 0;
    virtual void setContent(Content content) = 0;
    /// Whether translucent pixels are blended with the desktop below; where not, the scene fills
    /// every pixel itself, or the strip would be black around the art.
    virtual bool composited() const = 0;

public Q_SLOTS:
    /// Part of the content changed and must be painted again (points of the content).
    virtual void damage(const QRegion& region) = 0;

Q_SIGNALS:
    /// A screen came, went or changed: the strip is placed again.
    void outputsChanged();
    void compositedChanged(bool composited);
};

} // namespace pipfield
