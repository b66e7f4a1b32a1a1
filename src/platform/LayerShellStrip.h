#pragma once

#include "platform/ShmBuffer.h"
#include "platform/SurfaceScale.h"
#include "platform/WaylandConnection.h"
#include "strip/StripGeometry.h"
#include "strip/StripSurface.h"

#include <QPointF>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_callback;
struct wl_display;
struct wl_output;
struct wl_surface;
struct zwlr_layer_surface_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;

namespace pipfield {

/// The strip as a layer surface of a Wayland compositor that offers the layer shell (sway and the
/// other wlroots desktops, KDE Plasma, Hyprland): shared memory buffers painted by the content,
/// paced by the compositor's frame callbacks.
class LayerShellStrip final : public StripSurface, private WaylandClient {
    Q_OBJECT

public:
    /// Connects to the session's compositor and reads its globals; works before the application
    /// object exists. Nothing when there is no Wayland compositor or it has no layer shell.
    static std::unique_ptr<LayerShellStrip> connectToCompositor();
    ~LayerShellStrip() override;

    /// Joins the connection to the Qt event loop of the main thread; needs the application object.
    void start() { m_wayland.start(); }

    /// The announced outputs, in the order the compositor announced them.
    std::vector<StripGeometry::Output> outputs() const;
    std::vector<Screen> screens() const override;
    void place(qint64 screenID) override;
    void setShown(bool shown) override;
    void setClickThrough(bool on) override;
    void setAboveFullScreen(bool above) override;
    void setContent(Content content) override;
    /// Compositors blend every surface with what lies below it.
    bool composited() const override { return true; }
    /// Device pixels per point of the output the strip is on.
    int scale() const { return m_geometry.artScale; }
    void damage(const QRegion& region) override;

    // A shown surface gets a frame callback with every refresh of its output; one that waits this long
    // for it is covered (a full-screen window) or on an output that is off, and animates for nobody.
    static constexpr int kFrameStallMs = 1000;

private:
    friend struct LayerSurfaceListeners;
    friend struct LayerFrameListeners;

    explicit LayerShellStrip(wl_display* display);

    void placeOn(const QString& outputName, QSize size);
    void createSurface();
    void destroySurface();
    void recreateSurface();
    void commit();
    void applyInputRegion();
    std::uint32_t layer() const;
    QString wantedOutput() const;
    int outputScale() const;
    /// The fractional scale the surface is shown at, in 120ths, where a viewport can give the buffer
    /// that many device pixels; 0 at a whole scale.
    std::uint32_t fractionalScale() const;
    /// Sizes the surface again for its scale, or applies the scale where the size stays.
    void rescale();
    void applyGeometry();
    void resizeBuffers();
    void setContentShown(bool shown);
    ShmBuffer* freeBuffer();
    void schedulePaint();
    void paint();

    // What the connection tells.
    void outputDone(WaylandOutput& output) override;
    void outputRemoved(wl_output* output) override;
    void outputsMoved() override;
    void pointerEntered(wl_surface* surface, QPointF position) override;
    void pointerLeft() override;
    void pointerMoved(QPointF position) override;
    void pointerButton(std::uint32_t button, std::uint32_t state) override;

    // What the surface's protocol objects tell.
    void onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void onClosed();
    void onFrameDone();
    void onFrameStalled();
    void onPreferredScale(std::uint32_t scale120);
    void onBufferRelease(wl_buffer* buffer);
    void onSurfaceOutput(wl_output* output, bool entered);

    WaylandConnection m_wayland;

    // What the strip asks for.
    Content m_content;
    QString m_outputName;
    qint64 m_screenID = 0;
    QSize m_size{StripGeometry::kMaxWidth, StripGeometry::kHeight};
    bool m_shown = false;
    bool m_clickThrough = true;
    bool m_aboveFullScreen = false;

    // The surface while shown.
    wl_surface* m_surface = nullptr;
    zwlr_layer_surface_v1* m_layerSurface = nullptr;
    wp_viewport* m_viewport = nullptr;
    wp_fractional_scale_v1* m_fractionalScale = nullptr;
    wl_callback* m_frame = nullptr;
    std::vector<wl_output*> m_surfaceOutputs;
    QString m_surfaceOutputName; // the output asked for when the surface was made
    bool m_configured = false;
    bool m_attached = false;
    // A surface the compositor closed before it was ever shown is made again only once the outputs change.
    bool m_waitForOutputs = false;
    QSize m_configuredSize;
    std::uint32_t m_preferredScale = 0; // in 120ths; 0 until the compositor says
    SurfaceScale m_geometry;
    int m_bufferScale = 0;
    QSize m_viewportSize;
    // Whether the content was told it is on screen; not while the compositor withholds frames.
    bool m_contentShown = false;
    QTimer m_frameStall;
    std::array<std::unique_ptr<ShmBuffer>, 2> m_buffers;
    bool m_needsPaint = false;
    bool m_paintPlanned = false;

    bool m_pointerInside = false;
    QPointF m_pointerPosition;
};

} // namespace pipfield
