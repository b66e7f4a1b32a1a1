#include "platform/LayerShellStrip.h"

#include "fractional-scale-v1-client-protocol.h"
#include "platform/Logging.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <QTimer>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <linux/input-event-codes.h>

namespace pipfield {

namespace {

constexpr char kNamespace[] = "pipfield";

} // namespace

// The C callbacks of libwayland for the surface's own objects, forwarding to the strip.
struct LayerSurfaceListeners {
    static LayerShellStrip* strip(void* data) { return static_cast<LayerShellStrip*>(data); }

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

    static void surfaceEnter(void* data, wl_surface*, wl_output* entered) {
        strip(data)->onSurfaceOutput(entered, true);
    }
    static void surfaceLeave(void* data, wl_surface*, wl_output* left) { strip(data)->onSurfaceOutput(left, false); }
    static constexpr wl_surface_listener surface{surfaceEnter, surfaceLeave};
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
    if (!strip->m_wayland.readGlobals()) {
        return nullptr;
    }
    return strip;
}

LayerShellStrip::LayerShellStrip(wl_display* display) : m_wayland(display, *this) {
    m_frameStall.setSingleShot(true);
    m_frameStall.setInterval(kFrameStallMs);
    connect(&m_frameStall, &QTimer::timeout, this, &LayerShellStrip::onFrameStalled);
}

LayerShellStrip::~LayerShellStrip() {
    // The content may already be gone; it is told nothing more.
    m_content = {};
    destroySurface();
    for (auto& buffer : m_buffers) {
        buffer.reset();
    }
}

std::vector<StripGeometry::Output> LayerShellStrip::outputs() const {
    std::vector<StripGeometry::Output> list;
    for (const auto& output : m_wayland.outputs()) {
        if (output->done) {
            list.push_back({output->name, output->description, output->logicalSize()});
        }
    }
    return list;
}

std::vector<StripSurface::Screen> LayerShellStrip::screens() const {
    return StripGeometry::outputChoices(outputs());
}

void LayerShellStrip::outputDone(WaylandOutput&) {
    applyGeometry();
}

void LayerShellStrip::outputRemoved(wl_output* output) {
    std::erase(m_surfaceOutputs, output);
}

void LayerShellStrip::outputsMoved() {
    m_waitForOutputs = false;
    Q_EMIT outputsChanged();
    // The strip places the surface again on the signal; without one it stays where it was asked to
    // be, on whichever output is there now.
    placeOn(m_outputName, m_size);
}

QString LayerShellStrip::wantedOutput() const {
    // The chosen output while it is there and shows the strip; otherwise the compositor's choice.
    const WaylandOutput* chosen = m_wayland.findOutput(m_outputName);
    return chosen != nullptr && !chosen->closedStrip ? chosen->name : QString();
}

void LayerShellStrip::place(qint64 screenID) {
    m_screenID = screenID;
    // At a fractional scale the surface is sized in points that hold the art whole at the nearest
    // whole scale; at whole scales the points are the art pixels.
    const std::uint32_t fraction = fractionalScale();
    const double ratio = fraction != 0 ? fraction / 120.0 : 1.0;
    const StripGeometry::OutputPlacement placement = StripGeometry::placeOnOutput(outputs(), screenID, ratio);
    placeOn(placement.outputName, placement.size);
}

void LayerShellStrip::placeOn(const QString& outputName, QSize size) {
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
    const WaylandOutput* madeFor = m_wayland.findOutput(m_surfaceOutputName);
    if (wantedOutput() != m_surfaceOutputName || (!m_surfaceOutputName.isEmpty() && madeFor == nullptr)) {
        recreateSurface();
        return;
    }
    if (resized) {
        zwlr_layer_surface_v1_set_size(m_layerSurface, static_cast<std::uint32_t>(m_size.width()),
                                       static_cast<std::uint32_t>(m_size.height()));
        commit();
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
        commit();
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
    if (m_wayland.layerShellVersion() >= ZWLR_LAYER_SURFACE_V1_SET_LAYER_SINCE_VERSION) {
        zwlr_layer_surface_v1_set_layer(m_layerSurface, layer());
        commit();
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

void LayerShellStrip::commit() {
    wl_surface_commit(m_surface);
    m_wayland.flush();
}

void LayerShellStrip::createSurface() {
    if (m_wayland.failed() || m_surface != nullptr || m_waitForOutputs) {
        return;
    }
    // With no output at all the compositor would close the surface at once; it is made when one comes.
    const auto& outputs = m_wayland.outputs();
    if (std::none_of(outputs.begin(), outputs.end(), [](const auto& output) { return output->done; })) {
        return;
    }
    const WaylandOutput* target = m_wayland.findOutput(wantedOutput());
    m_surfaceOutputName = target != nullptr ? target->name : QString();
    m_surface = wl_compositor_create_surface(m_wayland.compositor());
    wl_surface_add_listener(m_surface, &LayerSurfaceListeners::surface, this);
    // Where the compositor scales by fractions, the buffer has that many device pixels and the
    // viewport shows it at the logical size.
    if (m_wayland.viewporter() != nullptr) {
        m_viewport = wp_viewporter_get_viewport(m_wayland.viewporter(), m_surface);
        if (m_wayland.fractionalScales() != nullptr) {
            m_fractionalScale =
                wp_fractional_scale_manager_v1_get_fractional_scale(m_wayland.fractionalScales(), m_surface);
            wp_fractional_scale_v1_add_listener(m_fractionalScale, &LayerSurfaceListeners::fractionalScale, this);
        }
    }
    m_layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        m_wayland.layerShell(), m_surface, target != nullptr ? target->output : nullptr, layer(), kNamespace);
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &LayerSurfaceListeners::layerSurface, this);
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
    commit();
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
        m_wayland.flush();
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
        wl_region* region = wl_compositor_create_region(m_wayland.compositor());
        wl_surface_set_input_region(m_surface, region);
        wl_region_destroy(region);
    } else {
        wl_surface_set_input_region(m_surface, nullptr); // the whole surface
    }
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
    WaylandOutput* closedOn = m_wayland.findOutput(m_surfaceOutputName);
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

void LayerShellStrip::pointerEntered(wl_surface* surface, QPointF position) {
    m_pointerInside = surface != nullptr && surface == m_surface;
    m_pointerPosition = position;
}

void LayerShellStrip::pointerLeft() {
    m_pointerInside = false;
}

void LayerShellStrip::pointerMoved(QPointF position) {
    m_pointerPosition = position;
}

void LayerShellStrip::pointerButton(std::uint32_t button, std::uint32_t state) {
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
