#pragma once

#include "strip/PanelWindow.h"

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QPointer>
#include <QScreen>

#include <cstdint>
#include <memory>
#include <vector>

struct xcb_connection_t;

namespace pipfield {

/// The strip's panel as an X11 window of its own on Qt's connection: the scene is painted into an
/// image of the window's device pixels and only what changed is sent to the server, one image request
/// per damaged rectangle. Qt's widget and backing-store machinery, which cost more than the painting
/// itself, are not involved.
class X11PanelWindow final : public PanelWindow, private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    /// Nothing where the application does not run on X11, or the server has no visual the window can
    /// be painted in.
    static std::unique_ptr<X11PanelWindow> create(QObject* parent = nullptr);
    ~X11PanelWindow() override;

    void setContent(const StripSurface::Content* content) override;
    void setFrame(const QRect& frame, QScreen* screen) override;
    void setVisible(bool visible) override;
    bool isVisible() const override { return m_visible; }
    QScreen* screen() const override { return m_screen; }
    void setClickThrough(bool on) override;
    bool setTranslucent(bool on) override;
    quintptr nativeId() const override { return m_window; }
    void damage(const QRegion& region) override;

    /// Device pixels per art pixel.
    int artScale() const { return m_artScale; }
    /// The window in X11's device pixels, on the root window.
    QRect nativeFrame() const { return m_nativeFrame; }
    /// Whether translucent pixels can show the desktop below (a 32-bit visual); without one the scene
    /// must fill every pixel.
    bool translucent() const override { return m_visual.depth == 32; }
    /// Image requests sent to the server so far.
    std::uint64_t puts() const { return m_puts; }

    /// The rectangle of `frame` (points of the desktop) in X11's device pixels, on `screen` (points) at
    /// `ratio`, whose origin Qt keeps in device pixels: sized as Qt sizes a window, its bottom edge
    /// where the frame's falls.
    static QRect toNative(const QRect& frame, const QRect& screen, double ratio);

private:
    struct Visual {
        std::uint32_t id = 0;
        std::uint8_t depth = 0;
    };

    X11PanelWindow(xcb_connection_t* connection, std::uint32_t root, Visual translucent, Visual opaque,
                   QObject* parent);
    /// Makes a window of that visual in place of the current one; 0, and the current one kept, where
    /// the server refuses it.
    std::uint32_t createWindow(Visual visual);
    void destroyWindow();
    /// Moves and sizes the window to the frame.
    void placeWindow();
    /// A picture of the frame's size and the window's visual, to be painted whole.
    void newPicture();
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void setProperties();
    void setSizeHints();
    void setBoundingShape();
    void schedulePaint();
    void paint();
    void put(const QRect& devicePixels);
    void tellSize();
    void tellShown();

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    std::uint32_t m_window = 0;
    std::uint32_t m_gc = 0;
    std::uint32_t m_colormap = 0;
    Visual m_translucentVisual;
    Visual m_opaqueVisual;
    Visual m_visual; // the current window's
    struct Atoms {
        std::uint32_t netWmName, utf8String, netWmPid, netWmUserTime, motifWmHints;
    } m_atoms{};
    bool m_swapBytes = false;
    const StripSurface::Content* m_content = nullptr;

    QPointer<QScreen> m_screen;
    QRect m_nativeFrame;
    int m_artScale = 0;
    QSize m_contentSize; // in art pixels, the scene's points
    // The window's device pixels, painted by the scene; exposures are answered from it.
    QImage m_image;
    std::vector<std::uint32_t> m_rows; // one rectangle's pixels, as sent
    QRegion m_dirty;                   // content points not painted yet
    QRegion m_exposed;                 // device pixels the server asked for, until its last expose
    bool m_visible = false;
    bool m_clickThrough = false;
    bool m_paintPlanned = false;
    std::uint64_t m_puts = 0;
};

} // namespace pipfield
