#pragma once

#include "platform/StripSurface.h"
#include "platform/SurfaceScale.h"

#include <QPointF>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct wp_viewporter;
struct zxdg_output_manager_v1;
class QSocketNotifier;

namespace pipfield {

/// The strip as a layer surface of a Wayland compositor that offers the layer shell (sway and the
/// other wlroots desktops, KDE Plasma, Hyprland), on a connection of its own beside Qt's: shared
/// memory buffers painted by the content widget, paced by the compositor's frame callbacks.
class LayerShellStrip final : public StripSurface {
    Q_OBJECT

public:
    /// Connects to the session's compositor and reads its globals; works before the application
    /// object exists. Nothing when there is no Wayland compositor or it has no layer shell.
    static std::unique_ptr<LayerShellStrip> connectToCompositor();
    ~LayerShellStrip() override;

    /// Joins the connection to the Qt event loop of the main thread; needs the application object.
    void start();

    std::vector<Output> outputs() const override;
    void place(const QString& outputName, QSize size) override;
    void setShown(bool shown) override;
    void setClickThrough(bool on) override;
    void setAboveFullScreen(bool above) override;
    void setContent(Content content) override;
    int scale() const override { return m_geometry.artScale; }
    void damage(const QRegion& region) override;

private:
    struct WaylandOutput;
    struct Buffer;
    friend struct LayerShellListeners;

    explicit LayerShellStrip(wl_display* display);
    bool readGlobals();
    void dispatch();
    void fail(const char* what);

    void createSurface();
    void destroySurface();
    void recreateSurface();
    void applyInputRegion();
    void applySize();
    std::uint32_t layer() const;
    WaylandOutput* findOutput(const QString& name) const;
    WaylandOutput* findOutput(const wl_output* output) const;
    QString wantedOutput() const;
    void outputsMoved();
    int outputScale() const;
    void applyGeometry();
    void resizeBuffers();
    void setContentShown(bool shown);
    Buffer* freeBuffer();
    void schedulePaint();
    void paint();

    // Protocol events.
    void onGlobal(std::uint32_t name, const char* interface, std::uint32_t version);
    void onGlobalRemove(std::uint32_t name);
    void watchLogicalSize(WaylandOutput& output);
    void onOutputDone(WaylandOutput& output);
    void onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void onClosed();
    void onFrameDone();
    void onFrameStalled();
    void onPreferredScale(std::uint32_t scale120);
    void onBufferRelease(wl_buffer* buffer);
    void onSurfaceOutput(wl_output* output, bool entered);
    void onSeatCapabilities(std::uint32_t capabilities);
    void onPointerButton(std::uint32_t button, std::uint32_t state);

    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    wl_compositor* m_compositor = nullptr;
    wl_shm* m_shm = nullptr;
    zwlr_layer_shell_v1* m_layerShell = nullptr;
    std::uint32_t m_layerShellVersion = 0;
    wp_viewporter* m_viewporter = nullptr;
    wp_fractional_scale_manager_v1* m_fractionalScales = nullptr;
    zxdg_output_manager_v1* m_xdgOutputs = nullptr;
    wl_seat* m_seat = nullptr;
    wl_pointer* m_pointer = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> m_outputs;
    QSocketNotifier* m_notifier = nullptr;
    bool m_failed = false;

    // What the strip asks for.
    Content m_content;
    QString m_outputName;
    QSize m_size{746, 72};
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
    std::array<std::unique_ptr<Buffer>, 2> m_buffers;
    bool m_needsPaint = false;
    bool m_paintPlanned = false;

    bool m_pointerInside = false;
    QPointF m_pointerPosition;
};

} // namespace pipfield
