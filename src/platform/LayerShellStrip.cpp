#include "platform/LayerShellStrip.h"

#include "fractional-scale-v1-client-protocol.h"
#include "platform/Logging.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pipfield {

namespace {

// What the strip needs of each global; a compositor may offer newer versions.
constexpr std::uint32_t kCompositorVersion = 4; // wl_surface.damage_buffer
constexpr std::uint32_t kLayerShellVersion = 3; // set_layer, and the shell's destructor
constexpr std::uint32_t kSeatVersion = 5;
constexpr std::uint32_t kOutputVersion = 4;    // the output's name and description
constexpr std::uint32_t kXdgOutputVersion = 3; // its logical size, made current by wl_output.done
constexpr char kNamespace[] = "pipfield";
// A shown surface gets a frame callback with every refresh of its output; one that waits this long
// for it is covered (a full-screen window) or on an output that is off, and animates for nobody.
constexpr int kFrameStallMs = 1000;

} // namespace

struct LayerShellStrip::WaylandOutput {
    LayerShellStrip* owner;
    std::uint32_t globalName;
    wl_output* output;
    zxdg_output_v1* xdgOutput = nullptr;
    QString name;
    QString description;
    QString make;
    QString model;
    QSize modeSize;
    // The compositor's own word for the size in logical pixels, where it says.
    QSize xdgLogicalSize;
    std::int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
    int scale = 1;
    bool done = false;
    // It closed the strip's surface while still announced (switched off): the strip waits elsewhere
    // until the output says something new about itself.
    bool closedStrip = false;

    QSize logicalSize() const {
        // At a fractional scale the whole scale of wl_output is rounded up, and the mode divided by
        // it is too small.
        if (xdgLogicalSize.isValid() && !xdgLogicalSize.isEmpty()) {
            return xdgLogicalSize;
        }
        QSize size = modeSize / std::max(1, scale);
        const bool turned = transform == WL_OUTPUT_TRANSFORM_90 || transform == WL_OUTPUT_TRANSFORM_270 ||
                            transform == WL_OUTPUT_TRANSFORM_FLIPPED_90 || transform == WL_OUTPUT_TRANSFORM_FLIPPED_270;
        return turned ? size.transposed() : size;
    }
};

struct LayerShellStrip::Buffer {
    wl_buffer* buffer = nullptr;
    void* data = MAP_FAILED;
    std::size_t bytes = 0;
    QImage image;
    bool busy = false;
    // Everything that changed since this buffer was last painted.
    QRegion dirty;

    ~Buffer() {
        if (buffer != nullptr) {
            wl_buffer_destroy(buffer);
        }
        if (data != MAP_FAILED) {
            munmap(data, bytes);
        }
    }
};

// The C callbacks of libwayland, forwarding to the strip.
struct LayerShellListeners {
    static LayerShellStrip* strip(void* data) { return static_cast<LayerShellStrip*>(data); }

    static void global(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
        strip(data)->onGlobal(name, interface, version);
    }
    static void globalRemove(void* data, wl_registry*, std::uint32_t name) { strip(data)->onGlobalRemove(name); }
    static constexpr wl_registry_listener registry{global, globalRemove};

    using Output = LayerShellStrip::WaylandOutput;
    static void outputGeometry(void* data, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t, const char* make, const char* model, std::int32_t transform) {
        auto* out = static_cast<Output*>(data);
        out->make = QString::fromUtf8(make);
        out->model = QString::fromUtf8(model);
        out->transform = transform;
    }
    static void outputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
                           std::int32_t) {
        if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
            static_cast<Output*>(data)->modeSize = QSize(width, height);
        }
    }
    static void outputDone(void* data, wl_output*) {
        auto* out = static_cast<Output*>(data);
        out->owner->onOutputDone(*out);
    }
    static void outputScale(void* data, wl_output*, std::int32_t factor) {
        static_cast<Output*>(data)->scale = std::max(1, factor);
    }
    static void outputName(void* data, wl_output*, const char* name) {
        static_cast<Output*>(data)->name = QString::fromUtf8(name);
    }
    static void outputDescription(void* data, wl_output*, const char* description) {
        static_cast<Output*>(data)->description = QString::fromUtf8(description);
    }
    static constexpr wl_output_listener output{outputGeometry, outputMode, outputDone,
                                               outputScale,    outputName, outputDescription};

    static void xdgPosition(void*, zxdg_output_v1*, std::int32_t, std::int32_t) {}
    static void xdgSize(void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
        static_cast<Output*>(data)->xdgLogicalSize = QSize(width, height);
    }
    static void xdgDone(void* data, zxdg_output_v1*) {
        // Sent only below version 3; from there wl_output.done makes the size current.
        auto* out = static_cast<Output*>(data);
        if (out->done) {
            out->owner->onOutputDone(*out);
        }
    }
    static void xdgName(void*, zxdg_output_v1*, const char*) {}
    static void xdgDescription(void*, zxdg_output_v1*, const char*) {}
    static constexpr zxdg_output_v1_listener xdgOutput{xdgPosition, xdgSize, xdgDone, xdgName, xdgDescription};

    static void configure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                          std::uint32_t height) {
        strip(data)->onConfigure(serial, width, height);
    }
    static void closed(void* data, zwlr_layer_surface_v1*) { strip(data)->onClosed(); }
    static constexpr zwlr_layer_surface_v1_listener layerSurface{configure, closed};

    static void preferredScale(void* data, wp_fractional_scale_v1*, std::uint32_t scale) {
        strip(data)->onPreferredScale(scale);
    }
    static constexpr wp_fractional_scale_v1_listener fractionalScale{preferredScale};

    static void frameDone(void* data, wl_callback*, std::uint32_t) { strip(data)->onFrameDone(); }
    static constexpr wl_callback_listener frame{frameDone};

    static void release(void* data, wl_buffer* released) { strip(data)->onBufferRelease(released); }
    static constexpr wl_buffer_listener buffer{release};

    static void surfaceEnter(void* data, wl_surface*, wl_output* entered) {
        strip(data)->onSurfaceOutput(entered, true);
    }
    static void surfaceLeave(void* data, wl_surface*, wl_output* left) { strip(data)->onSurfaceOutput(left, false); }
    static constexpr wl_surface_listener surface{surfaceEnter, surfaceLeave};

    static void seatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
        strip(data)->onSeatCapabilities(capabilities);
    }
    static void seatName(void*, wl_seat*, const char*) {}
    static constexpr wl_seat_listener seat{seatCapabilities, seatName};

    static void pointerEnter(void* data, wl_pointer*, std::uint32_t, wl_surface* entered, wl_fixed_t x, wl_fixed_t y) {
        LayerShellStrip* self = strip(data);
        self->m_pointerInside = entered != nullptr && entered == self->m_surface;
        self->m_pointerPosition = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
    }
    static void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) {
        strip(data)->m_pointerInside = false;
    }
    static void pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        strip(data)->m_pointerPosition = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
    }
    static void pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
                              std::uint32_t state) {
        strip(data)->onPointerButton(button, state);
    }
    static void pointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
    static void pointerFrame(void*, wl_pointer*) {}
    static void pointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
    static void pointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
    static void pointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
    static void pointerAxisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
    static constexpr wl_pointer_listener pointer{
        pointerEnter, pointerLeave,      pointerMotion,   pointerButton,       pointerAxis,
        pointerFrame, pointerAxisSource, pointerAxisStop, pointerAxisDiscrete, pointerAxisValue120};
};

std::unique_ptr<LayerShellStrip> LayerShellStrip::connectToCompositor() {
    // Only a Wayland session is asked: under X11 a stray socket of another session must not win.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        qCWarning(lcDesktop) << "the Wayland compositor named by WAYLAND_DISPLAY does not answer:"
                             << std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<LayerShellStrip> strip(new LayerShellStrip(display));
    if (!strip->readGlobals()) {
        return nullptr;
    }
    return strip;
}

LayerShellStrip::LayerShellStrip(wl_display* display) : m_display(display) {
    m_frameStall.setSingleShot(true);
    m_frameStall.setInterval(kFrameStallMs);
    connect(&m_frameStall, &QTimer::timeout, this, &LayerShellStrip::onFrameStalled);
}

LayerShellStrip::~LayerShellStrip() {
    delete m_notifier;
    // The content may already be gone; it is told nothing more.
    m_content = {};
    destroySurface();
    for (auto& buffer : m_buffers) {
        buffer.reset();
    }
    if (m_pointer != nullptr) {
        wl_pointer_release(m_pointer);
    }
    if (m_seat != nullptr) {
        wl_seat_release(m_seat);
    }
    for (const auto& output : m_outputs) {
        if (output->xdgOutput != nullptr) {
            zxdg_output_v1_destroy(output->xdgOutput);
        }
        wl_output_release(output->output);
    }
    if (m_xdgOutputs != nullptr) {
        zxdg_output_manager_v1_destroy(m_xdgOutputs);
    }
    if (m_layerShell != nullptr) {
        zwlr_layer_shell_v1_destroy(m_layerShell);
    }
    if (m_fractionalScales != nullptr) {
        wp_fractional_scale_manager_v1_destroy(m_fractionalScales);
    }
    if (m_viewporter != nullptr) {
        wp_viewporter_destroy(m_viewporter);
    }
    if (m_shm != nullptr) {
        wl_shm_destroy(m_shm);
    }
    if (m_compositor != nullptr) {
        wl_compositor_destroy(m_compositor);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    wl_display_disconnect(m_display);
}

bool LayerShellStrip::readGlobals() {
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &LayerShellListeners::registry, this);
    // The first round trip lists the globals, the second their first events (the outputs' names).
    if (wl_display_roundtrip(m_display) < 0 || wl_display_roundtrip(m_display) < 0) {
        qCWarning(lcDesktop) << "the Wayland compositor closed the connection while listing its globals";
        return false;
    }
    return m_layerShell != nullptr && m_compositor != nullptr && m_shm != nullptr;
}

void LayerShellStrip::onGlobal(std::uint32_t name, const char* interface, std::uint32_t version) {
    const auto bind = [&](const wl_interface* type, std::uint32_t wanted) {
        return wl_registry_bind(m_registry, name, type, std::min(version, wanted));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= kCompositorVersion) {
        m_compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, kCompositorVersion));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        m_shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        m_layerShellVersion = std::min(version, kLayerShellVersion);
        m_layerShell = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, kLayerShellVersion));
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        m_viewporter = static_cast<wp_viewporter*>(bind(&wp_viewporter_interface, 1));
    } else if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0) {
        m_fractionalScales =
            static_cast<wp_fractional_scale_manager_v1*>(bind(&wp_fractional_scale_manager_v1_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && m_seat == nullptr) {
        m_seat = static_cast<wl_seat*>(bind(&wl_seat_interface, kSeatVersion));
        wl_seat_add_listener(m_seat, &LayerShellListeners::seat, this);
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        m_xdgOutputs = static_cast<zxdg_output_manager_v1*>(bind(&zxdg_output_manager_v1_interface, kXdgOutputVersion));
        for (const auto& output : m_outputs) {
            watchLogicalSize(*output);
        }
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<WaylandOutput>();
        output->owner = this;
        output->globalName = name;
        output->output = static_cast<wl_output*>(bind(&wl_output_interface, kOutputVersion));
        wl_output_add_listener(output->output, &LayerShellListeners::output, output.get());
        watchLogicalSize(*output);
        m_outputs.push_back(std::move(output));
    }
}

void LayerShellStrip::watchLogicalSize(WaylandOutput& output) {
    if (m_xdgOutputs == nullptr || output.xdgOutput != nullptr) {
        return;
    }
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_xdgOutputs, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &LayerShellListeners::xdgOutput, &output);
}

void LayerShellStrip::onGlobalRemove(std::uint32_t name) {
    const auto it = std::find_if(m_outputs.begin(), m_outputs.end(),
                                 [&](const auto& output) { return output->globalName == name; });
    if (it == m_outputs.end()) {
        return;
    }
    std::erase((m_surfaceOutputs), (*it)->output);
    if ((*it)->xdgOutput != nullptr) {
        zxdg_output_v1_destroy((*it)->xdgOutput);
    }
    wl_output_release((*it)->output);
    m_outputs.erase(it);
    outputsMoved();
}

void LayerShellStrip::onOutputDone(WaylandOutput& output) {
    // Compositors before the output's name was announced: make and model stand in for it.
    if (output.name.isEmpty()) {
        output.name = (output.make + ' ' + output.model).trimmed();
    }
    output.done = true;
    // Whatever the output announces anew (its mode when switched on again) makes it worth a try.
    output.closedStrip = false;
    applyGeometry();
    outputsMoved();
}

void LayerShellStrip::outputsMoved() {
    m_waitForOutputs = false;
    Q_EMIT outputsChanged();
    // The strip's controller places the strip again on the signal; without one it stays where it was
    // asked to be, on whichever output is there now.
    place(m_outputName, m_size);
}

void LayerShellStrip::start() {
    const int fd = wl_display_get_fd(m_display);
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LayerShellStrip::dispatch);
    // Events that arrived with an earlier read (a round trip) wait in the queue without waking the
    // socket notifier; and requests are sent only when flushed.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        if (m_failed) {
            return;
        }
        wl_display_dispatch_pending(m_display);
        wl_display_flush(m_display);
    });
    dispatch();
}

void LayerShellStrip::dispatch() {
    if (m_failed) {
        return;
    }
    // The connection is read only here, on the main thread: a failed prepare means events are
    // already queued, which the dispatch below handles.
    if (wl_display_prepare_read(m_display) == 0) {
        if (wl_display_read_events(m_display) < 0) {
            fail("reading its events failed");
            return;
        }
    }
    if (wl_display_dispatch_pending(m_display) < 0) {
        fail("dispatching its events failed");
        return;
    }
    if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
        fail("sending requests failed");
    }
}

void LayerShellStrip::fail(const char* what) {
    if (m_failed) {
        return;
    }
    m_failed = true;
    const int error = wl_display_get_error(m_display);
    qCWarning(lcDesktop) << "the strip's connection to the Wayland compositor is lost:" << what << "-"
                         << std::strerror(error != 0 ? error : errno);
    if (m_notifier != nullptr) {
        m_notifier->setEnabled(false);
    }
}

std::vector<StripSurface::Output> LayerShellStrip::outputs() const {
    std::vector<Output> list;
    for (const auto& output : m_outputs) {
        if (output->done) {
            list.push_back({output->name, output->description, output->logicalSize()});
        }
    }
    return list;
}

LayerShellStrip::WaylandOutput* LayerShellStrip::findOutput(const QString& name) const {
    if (name.isEmpty()) {
        return nullptr;
    }
    for (const auto& output : m_outputs) {
        if (output->done && output->name == name) {
            return output.get();
        }
    }
    return nullptr;
}

LayerShellStrip::WaylandOutput* LayerShellStrip::findOutput(const wl_output* wanted) const {
    for (const auto& output : m_outputs) {
        if (output->output == wanted) {
            return output.get();
        }
    }
    return nullptr;
}

QString LayerShellStrip::wantedOutput() const {
    // The chosen output while it is there and shows the strip; otherwise the compositor's choice.
    const WaylandOutput* chosen = findOutput(m_outputName);
    return chosen != nullptr && !chosen->closedStrip ? chosen->name : QString();
}

void LayerShellStrip::place(const QString& outputName, QSize size) {
    m_outputName = outputName;
    const bool resized = size != m_size;
    m_size = size;
    if (m_surface == nullptr) {
        if (m_shown) {
            createSurface(); // the strip waited for an output to be shown on
        }
        return;
    }
    // A layer surface stays on the output it was made for: the chosen one came, went or returned.
    const WaylandOutput* madeFor = findOutput(m_surfaceOutputName);
    if (wantedOutput() != m_surfaceOutputName || (!m_surfaceOutputName.isEmpty() && madeFor == nullptr)) {
        recreateSurface();
        return;
    }
    if (resized) {
        applySize();
    }
}

void LayerShellStrip::setShown(bool shown) {
    m_shown = shown;
    if (shown && m_surface == nullptr) {
        createSurface();
    } else if (!shown) {
        destroySurface();
    }
}

void LayerShellStrip::setClickThrough(bool on) {
    m_clickThrough = on;
    if (m_surface != nullptr) {
        applyInputRegion();
        wl_surface_commit(m_surface);
        wl_display_flush(m_display);
    }
}

void LayerShellStrip::setAboveFullScreen(bool above) {
    if (above == m_aboveFullScreen) {
        return;
    }
    m_aboveFullScreen = above;
    if (m_layerSurface == nullptr) {
        return;
    }
    if (m_layerShellVersion >= ZWLR_LAYER_SURFACE_V1_SET_LAYER_SINCE_VERSION) {
        zwlr_layer_surface_v1_set_layer(m_layerSurface, layer());
        wl_surface_commit(m_surface);
        wl_display_flush(m_display);
    } else {
        recreateSurface();
    }
}

void LayerShellStrip::setContent(Content content) {
    m_content = std::move(content);
    if (m_content.resize && m_configured) {
        m_content.resize(m_geometry.contentSize);
    }
    if (m_content.shown && m_contentShown) {
        m_content.shown(true);
    }
    damage(QRegion(0, 0, 1 << 16, 1 << 16));
}

std::uint32_t LayerShellStrip::layer() const {
    // Full-screen windows cover the top layer, so there the compositor hides the strip under them.
    return m_aboveFullScreen ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY : ZWLR_LAYER_SHELL_V1_LAYER_TOP;
}

void LayerShellStrip::createSurface() {
    if (m_failed || m_surface != nullptr || m_waitForOutputs) {
        return;
    }
    // With no output at all the compositor would close the surface at once; it is made when one comes.
    if (std::none_of(m_outputs.begin(), m_outputs.end(), [](const auto& output) { return output->done; })) {
        return;
    }
    const WaylandOutput* target = findOutput(wantedOutput());
    m_surfaceOutputName = target != nullptr ? target->name : QString();
    m_surface = wl_compositor_create_surface(m_compositor);
    wl_surface_add_listener(m_surface, &LayerShellListeners::surface, this);
    // Where the compositor scales by fractions, the buffer has that many device pixels and the
    // viewport shows it at the logical size.
    if (m_fractionalScales != nullptr && m_viewporter != nullptr) {
        m_viewport = wp_viewporter_get_viewport(m_viewporter, m_surface);
        m_fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(m_fractionalScales, m_surface);
        wp_fractional_scale_v1_add_listener(m_fractionalScale, &LayerShellListeners::fractionalScale, this);
    }
    m_layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        m_layerShell, m_surface, target != nullptr ? target->output : nullptr, layer(), kNamespace);
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &LayerShellListeners::layerSurface, this);
    // Bottom only: centred along the bottom edge. No reserved zone, never keyboard focus.
    zwlr_layer_surface_v1_set_anchor(m_layerSurface, ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM);
    zwlr_layer_surface_v1_set_exclusive_zone(m_layerSurface, 0);
    zwlr_layer_surface_v1_set_margin(m_layerSurface, 0, 0, 0, 0);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<std::uint32_t>(m_size.width()),
                                   static_cast<std::uint32_t>(m_size.height()));
    applyInputRegion();
    applyGeometry();
    // The first commit carries no buffer; the compositor answers with the first configure.
    wl_surface_commit(m_surface);
    wl_display_flush(m_display);
    qCDebug(lcDesktop) << "layer surface made for output" << (target != nullptr ? target->name : "(any)") << m_size;
}

void LayerShellStrip::destroySurface() {
    m_frameStall.stop();
    if (m_frame != nullptr) {
        wl_callback_destroy(m_frame);
        m_frame = nullptr;
    }
    if (m_fractionalScale != nullptr) {
        wp_fractional_scale_v1_destroy(m_fractionalScale);
        m_fractionalScale = nullptr;
    }
    if (m_viewport != nullptr) {
        wp_viewport_destroy(m_viewport);
        m_viewport = nullptr;
    }
    if (m_layerSurface != nullptr) {
        zwlr_layer_surface_v1_destroy(m_layerSurface);
        m_layerSurface = nullptr;
    }
    if (m_surface != nullptr) {
        wl_surface_destroy(m_surface);
        m_surface = nullptr;
        wl_display_flush(m_display);
    }
    m_surfaceOutputs.clear();
    setContentShown(false);
    m_configured = false;
    m_attached = false;
    m_bufferScale = 0;
    m_viewportSize = QSize();
    // The compositor may still hold the old buffers; a new surface gets new ones.
    for (auto& buffer : m_buffers) {
        buffer.reset();
    }
}

void LayerShellStrip::recreateSurface() {
    destroySurface();
    if (m_shown) {
        createSurface();
    }
}

void LayerShellStrip::applyInputRegion() {
    if (m_clickThrough) {
        // An empty input region: every click goes to whatever lies below.
        wl_region* region = wl_compositor_create_region(m_compositor);
        wl_surface_set_input_region(m_surface, region);
        wl_region_destroy(region);
    } else {
        wl_surface_set_input_region(m_surface, nullptr); // the whole surface
    }
}

void LayerShellStrip::applySize() {
    zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<std::uint32_t>(m_size.width()),
                                   static_cast<std::uint32_t>(m_size.height()));
    wl_surface_commit(m_surface);
    wl_display_flush(m_display);
}

void LayerShellStrip::onConfigure(std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(m_layerSurface, serial);
    // A size of 0 leaves it to the strip; the compositor's numbers stay within what a buffer can be.
    const auto side = [](std::uint32_t given, int own) {
        return given != 0 ? static_cast<int>(std::min<std::uint32_t>(given, 1U << 14)) : own;
    };
    m_configuredSize = QSize(side(width, m_size.width()), side(height, m_size.height()));
    m_configured = true;
    applyGeometry();
    // Shown, or shown again after the compositor withheld its frames; if the frame it still owes
    // does not come, the scene pauses again.
    setContentShown(true);
    if (m_frame != nullptr && !m_frameStall.isActive()) {
        m_frameStall.start();
    }
    // The surface shows nothing until a buffer is attached after the first configure.
    m_needsPaint = true;
    paint();
}

void LayerShellStrip::onClosed() {
    qCDebug(lcDesktop) << "the compositor closed the strip's layer surface on"
                       << (m_surfaceOutputName.isEmpty() ? QStringLiteral("(any)") : m_surfaceOutputName);
    const bool wasShown = m_configured;
    WaylandOutput* closedOn = findOutput(m_surfaceOutputName);
    destroySurface();
    if (closedOn != nullptr) {
        // The chosen output is still announced but shows nothing (switched off): the strip goes to
        // the compositor's choice until that output has news.
        closedOn->closedStrip = true;
    } else if (!wasShown) {
        // Closed before it was ever shown: no output will take it now, and asking again at once
        // would only be refused again, and again.
        m_waitForOutputs = true;
        return;
    }
    createSurface();
}

void LayerShellStrip::onSurfaceOutput(wl_output* output, bool entered) {
    std::erase(m_surfaceOutputs, output);
    if (entered) {
        m_surfaceOutputs.push_back(output);
    }
    applyGeometry();
}

void LayerShellStrip::onPreferredScale(std::uint32_t scale120) {
    qCDebug(lcDesktop) << "the compositor prefers the strip at a scale of" << scale120 / 120.0;
    m_preferredScale = scale120;
    applyGeometry();
}

int LayerShellStrip::outputScale() const {
    // The scale of the output the surface is on; before the compositor says, that of the output asked for.
    int scale = 0;
    for (wl_output* shownOn : m_surfaceOutputs) {
        if (const WaylandOutput* output = findOutput(shownOn)) {
            scale = std::max(scale, output->scale);
        }
    }
    if (scale != 0) {
        return scale;
    }
    const WaylandOutput* target = findOutput(wantedOutput());
    if (target == nullptr && !m_outputs.empty()) {
        target = m_outputs.front().get();
    }
    return target != nullptr ? target->scale : 1;
}

void LayerShellStrip::applyGeometry() {
    const QSize logical = m_configuredSize.isValid() ? m_configuredSize : m_size;
    // A compositor's preferred fractional scale counts over the whole scales of its outputs, which it
    // rounds up.
    const SurfaceScale next = m_viewport != nullptr && m_preferredScale != 0
                                  ? SurfaceScale::fractional(logical, m_preferredScale)
                                  : SurfaceScale::whole(logical, outputScale());
    const bool needsBuffers = m_configured && !m_buffers.front();
    if (next == m_geometry && !needsBuffers) {
        return;
    }
    const bool rescaled = next.artScale != m_geometry.artScale;
    m_geometry = next;
    // The content learns its size once the surface has one, and again with each new surface: the
    // widget that holds the scene may have been laid out to another size in between.
    if (m_configured && m_content.resize) {
        m_content.resize(next.contentSize);
    }
    resizeBuffers();
    if (rescaled) {
        Q_EMIT scaleChanged(next.artScale);
    }
    schedulePaint();
}

void LayerShellStrip::resizeBuffers() {
    for (auto& buffer : m_buffers) {
        buffer.reset();
    }
    if (!m_configured || m_geometry.bufferSize.isEmpty()) {
        return;
    }
    const QSize pixels = m_geometry.bufferSize;
    const int stride = pixels.width() * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(pixels.height());
    for (auto& slot : m_buffers) {
        const int fd = memfd_create("pipfield-strip", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) < 0) {
            qCWarning(lcDesktop) << "no shared memory for the strip:" << std::strerror(errno);
            if (fd >= 0) {
                close(fd);
            }
            return;
        }
        auto buffer = std::make_unique<Buffer>();
        buffer->bytes = bytes;
        buffer->data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (buffer->data == MAP_FAILED) {
            qCWarning(lcDesktop) << "no shared memory for the strip:" << std::strerror(errno);
            close(fd);
            return;
        }
        wl_shm_pool* pool = wl_shm_create_pool(m_shm, fd, static_cast<std::int32_t>(bytes));
        buffer->buffer =
            wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride, WL_SHM_FORMAT_ARGB8888);
        wl_shm_pool_destroy(pool);
        close(fd);
        wl_buffer_add_listener(buffer->buffer, &LayerShellListeners::buffer, this);
        // ARGB8888 of the protocol is premultiplied, little-endian 32-bit words: QImage's own layout.
        buffer->image = QImage(static_cast<uchar*>(buffer->data), pixels.width(), pixels.height(), stride,
                               QImage::Format_ARGB32_Premultiplied);
        // Whole device pixels per art pixel; a fractional rest at the right and bottom edges stays clear.
        buffer->image.setDevicePixelRatio(m_geometry.artScale);
        buffer->dirty = QRegion(QRect(QPoint(0, 0), m_geometry.contentSize));
        slot = std::move(buffer);
    }
    m_needsPaint = true;
}

void LayerShellStrip::damage(const QRegion& region) {
    for (auto& buffer : m_buffers) {
        if (buffer) {
            buffer->dirty += region & QRect(QPoint(0, 0), m_geometry.contentSize);
        }
    }
    m_needsPaint = true;
    schedulePaint();
}

void LayerShellStrip::schedulePaint() {
    // While a frame is pending the compositor has not shown the last one yet; its callback paints.
    // A compositor that stops calling back (the output is off or hidden) stops the painting.
    if (m_paintPlanned || m_frame != nullptr || !m_configured) {
        return;
    }
    m_paintPlanned = true;
    // Everything damaged in this pass of the event loop goes into one paint.
    QTimer::singleShot(0, this, [this] {
        m_paintPlanned = false;
        paint();
    });
}

LayerShellStrip::Buffer* LayerShellStrip::freeBuffer() {
    for (auto& buffer : m_buffers) {
        if (buffer && !buffer->busy) {
            return buffer.get();
        }
    }
    return nullptr;
}

void LayerShellStrip::paint() {
    if (!m_needsPaint || !m_configured || m_surface == nullptr || m_frame != nullptr || m_failed) {
        return;
    }
    Buffer* buffer = freeBuffer();
    if (buffer == nullptr) {
        return; // painted once the compositor releases one
    }
    // Taken before painting: whatever the content damages while it paints waits for the next frame.
    const QRegion region = buffer->dirty;
    buffer->dirty = QRegion();
    m_needsPaint = false;
    if (region.isEmpty() && m_attached) {
        return;
    }
    if (!region.isEmpty()) {
        QPainter painter(&buffer->image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& rect : region) {
            painter.fillRect(rect, Qt::transparent);
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRegion(region);
        if (m_content.paint) {
            m_content.paint(painter, region);
        }
    }
    // The new scale goes with the first buffer of the new size: a commit of the old buffer at the
    // new scale could have a size the scale does not divide. Through a viewport the buffer is shown
    // at the logical size whatever its own.
    const int bufferScale = m_viewport != nullptr ? 1 : m_geometry.artScale;
    if (m_bufferScale != bufferScale) {
        wl_surface_set_buffer_scale(m_surface, bufferScale);
        m_bufferScale = bufferScale;
    }
    if (m_viewport != nullptr && m_viewportSize != m_configuredSize) {
        wp_viewport_set_destination(m_viewport, m_configuredSize.width(), m_configuredSize.height());
        m_viewportSize = m_configuredSize;
    }
    wl_surface_attach(m_surface, buffer->buffer, 0, 0);
    const int art = m_geometry.artScale;
    for (const QRect& rect : region) {
        wl_surface_damage_buffer(m_surface, rect.x() * art, rect.y() * art, rect.width() * art, rect.height() * art);
    }
    m_frame = wl_surface_frame(m_surface);
    wl_callback_add_listener(m_frame, &LayerShellListeners::frame, this);
    wl_surface_commit(m_surface);
    wl_display_flush(m_display);
    buffer->busy = true;
    m_attached = true;
    m_frameStall.start();
}

void LayerShellStrip::onFrameDone() {
    wl_callback_destroy(m_frame);
    m_frame = nullptr;
    m_frameStall.stop();
    // The compositor shows the strip again: the scene goes on from now.
    setContentShown(true);
    if (m_needsPaint) {
        paint();
    }
}

void LayerShellStrip::onFrameStalled() {
    if (m_frame == nullptr) {
        return;
    }
    // The callback stays asked for: the compositor answers it once the strip is in sight again.
    qCDebug(lcDesktop) << "no frame callback for" << kFrameStallMs << "ms: the strip is out of sight";
    setContentShown(false);
}

void LayerShellStrip::setContentShown(bool shown) {
    if (shown == m_contentShown || (shown && !m_configured)) {
        return;
    }
    m_contentShown = shown;
    if (m_content.shown) {
        m_content.shown(shown);
    }
}

void LayerShellStrip::onBufferRelease(wl_buffer* released) {
    for (auto& buffer : m_buffers) {
        if (buffer && buffer->buffer == released) {
            buffer->busy = false;
        }
    }
    if (m_needsPaint && m_frame == nullptr) {
        paint();
    }
}

void LayerShellStrip::onSeatCapabilities(std::uint32_t capabilities) {
    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && m_pointer == nullptr) {
        m_pointer = wl_seat_get_pointer(m_seat);
        wl_pointer_add_listener(m_pointer, &LayerShellListeners::pointer, this);
    } else if (!hasPointer && m_pointer != nullptr) {
        wl_pointer_release(m_pointer);
        m_pointer = nullptr;
        m_pointerInside = false;
    }
}

void LayerShellStrip::onPointerButton(std::uint32_t button, std::uint32_t state) {
    // With click-through on the input region is empty and the pointer never enters the surface.
    if (!m_pointerInside || m_clickThrough || !m_content.click || button != BTN_LEFT ||
        state != WL_POINTER_BUTTON_STATE_PRESSED) {
        return;
    }
    // Surface points to the content's art pixels, which differ where the scale is fractional.
    const double factor = m_configuredSize.width() > 0 ? static_cast<double>(m_geometry.bufferSize.width()) /
                                                             m_configuredSize.width() / m_geometry.artScale
                                                       : 1.0;
    m_content.click(m_pointerPosition * factor);
}

} // namespace pipfield
