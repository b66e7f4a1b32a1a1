#include "platform/WaylandConnection.h"

#include "fractional-scale-v1-client-protocol.h"
#include "platform/Logging.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pipfield {

namespace {

// What the strip needs of each global; a compositor may offer newer versions.
constexpr std::uint32_t kCompositorVersion = 4; // wl_surface.damage_buffer
constexpr std::uint32_t kLayerShellVersion = 3; // set_layer, and the shell's destructor
constexpr std::uint32_t kSeatVersion = 5;
constexpr std::uint32_t kOutputVersion = 4;    // the output's name and description
constexpr std::uint32_t kXdgOutputVersion = 3; // its logical size, made current by wl_output.done

QPointF point(wl_fixed_t x, wl_fixed_t y) {
    return QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

} // namespace

QSize WaylandOutput::logicalSize() const {
    // At a fractional scale the whole scale of wl_output is rounded up, and the mode divided by it is
    // too small.
    if (xdgLogicalSize.isValid() && !xdgLogicalSize.isEmpty()) {
        return xdgLogicalSize;
    }
    QSize size = modeSize / std::max(1, scale);
    const bool turned = transform == WL_OUTPUT_TRANSFORM_90 || transform == WL_OUTPUT_TRANSFORM_270 ||
                        transform == WL_OUTPUT_TRANSFORM_FLIPPED_90 || transform == WL_OUTPUT_TRANSFORM_FLIPPED_270;
    return turned ? size.transposed() : size;
}

// The C callbacks of libwayland, forwarding to the connection and its client.
struct WaylandListeners {
    static WaylandConnection* connection(void* data) { return static_cast<WaylandConnection*>(data); }

    static void global(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
        connection(data)->onGlobal(name, interface, version);
    }
    static void globalRemove(void* data, wl_registry*, std::uint32_t name) { connection(data)->onGlobalRemove(name); }
    static constexpr wl_registry_listener registry{global, globalRemove};

    static void outputGeometry(void* data, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t, const char* make, const char* model, std::int32_t transform) {
        auto* out = static_cast<WaylandOutput*>(data);
        out->make = QString::fromUtf8(make);
        out->model = QString::fromUtf8(model);
        out->transform = transform;
    }
    static void outputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
                           std::int32_t) {
        if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
            static_cast<WaylandOutput*>(data)->modeSize = QSize(width, height);
        }
    }
    static void outputDone(void* data, wl_output*) {
        auto* out = static_cast<WaylandOutput*>(data);
        out->owner->onOutputDone(*out);
    }
    static void outputScale(void* data, wl_output*, std::int32_t factor) {
        static_cast<WaylandOutput*>(data)->scale = std::max(1, factor);
    }
    static void outputName(void* data, wl_output*, const char* name) {
        static_cast<WaylandOutput*>(data)->name = QString::fromUtf8(name);
    }
    static void outputDescription(void* data, wl_output*, const char* description) {
        static_cast<WaylandOutput*>(data)->description = QString::fromUtf8(description);
    }
    static constexpr wl_output_listener output{outputGeometry, outputMode, outputDone,
                                               outputScale,    outputName, outputDescription};

    static void xdgPosition(void*, zxdg_output_v1*, std::int32_t, std::int32_t) {}
    static void xdgSize(void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
        static_cast<WaylandOutput*>(data)->xdgLogicalSize = QSize(width, height);
    }
    static void xdgDone(void* data, zxdg_output_v1*) {
        // Sent only below version 3; from there wl_output.done makes the size current.
        auto* out = static_cast<WaylandOutput*>(data);
        if (out->done) {
            out->owner->onOutputDone(*out);
        }
    }
    static void xdgName(void*, zxdg_output_v1*, const char*) {}
    static void xdgDescription(void*, zxdg_output_v1*, const char*) {}
    static constexpr zxdg_output_v1_listener xdgOutput{xdgPosition, xdgSize, xdgDone, xdgName, xdgDescription};

    static void seatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
        connection(data)->onSeatCapabilities(capabilities);
    }
    static void seatName(void*, wl_seat*, const char*) {}
    static constexpr wl_seat_listener seat{seatCapabilities, seatName};

    static WaylandClient& client(void* data) { return connection(data)->m_client; }
    static void pointerEnter(void* data, wl_pointer*, std::uint32_t, wl_surface* entered, wl_fixed_t x, wl_fixed_t y) {
        client(data).pointerEntered(entered, point(x, y));
    }
    static void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) { client(data).pointerLeft(); }
    static void pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        client(data).pointerMoved(point(x, y));
    }
    static void pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
                              std::uint32_t state) {
        client(data).pointerButton(button, state);
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

WaylandConnection::WaylandConnection(wl_display* display, WaylandClient& client)
    : m_display(display), m_client(client) {}

WaylandConnection::~WaylandConnection() {
    delete m_notifier;
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

bool WaylandConnection::readGlobals() {
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &WaylandListeners::registry, this);
    // The first round trip lists the globals, the second their first events (the outputs' names).
    if (wl_display_roundtrip(m_display) < 0 || wl_display_roundtrip(m_display) < 0) {
        qCWarning(lcDesktop) << "the Wayland compositor closed the connection while listing its globals";
        return false;
    }
    return m_layerShell != nullptr && m_compositor != nullptr && m_shm != nullptr;
}

void WaylandConnection::onGlobal(std::uint32_t name, const char* interface, std::uint32_t version) {
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
        wl_seat_add_listener(m_seat, &WaylandListeners::seat, this);
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
        wl_output_add_listener(output->output, &WaylandListeners::output, output.get());
        watchLogicalSize(*output);
        m_outputs.push_back(std::move(output));
    }
}

void WaylandConnection::watchLogicalSize(WaylandOutput& output) {
    if (m_xdgOutputs == nullptr || output.xdgOutput != nullptr) {
        return;
    }
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_xdgOutputs, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &WaylandListeners::xdgOutput, &output);
}

void WaylandConnection::onGlobalRemove(std::uint32_t name) {
    const auto it = std::find_if(m_outputs.begin(), m_outputs.end(),
                                 [&](const auto& output) { return output->globalName == name; });
    if (it == m_outputs.end()) {
        return;
    }
    m_client.outputRemoved((*it)->output);
    if ((*it)->xdgOutput != nullptr) {
        zxdg_output_v1_destroy((*it)->xdgOutput);
    }
    wl_output_release((*it)->output);
    m_outputs.erase(it);
    m_client.outputsMoved();
}

void WaylandConnection::onOutputDone(WaylandOutput& output) {
    // Compositors before the output's name was announced: make and model stand in for it.
    if (output.name.isEmpty()) {
        output.name = (output.make + ' ' + output.model).trimmed();
    }
    output.done = true;
    // Whatever the output announces anew (its mode when switched on again) makes it worth a try.
    output.closedStrip = false;
    m_client.outputDone(output);
    m_client.outputsMoved();
}

WaylandOutput* WaylandConnection::findOutput(const QString& name) const {
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

WaylandOutput* WaylandConnection::findOutput(const wl_output* wanted) const {
    for (const auto& output : m_outputs) {
        if (output->output == wanted) {
            return output.get();
        }
    }
    return nullptr;
}

void WaylandConnection::onSeatCapabilities(std::uint32_t capabilities) {
    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && m_pointer == nullptr) {
        m_pointer = wl_seat_get_pointer(m_seat);
        wl_pointer_add_listener(m_pointer, &WaylandListeners::pointer, this);
    } else if (!hasPointer && m_pointer != nullptr) {
        wl_pointer_release(m_pointer);
        m_pointer = nullptr;
        m_client.pointerLeft();
    }
}

void WaylandConnection::start() {
    const int fd = wl_display_get_fd(m_display);
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WaylandConnection::dispatch);
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

void WaylandConnection::flush() {
    wl_display_flush(m_display);
}

void WaylandConnection::dispatch() {
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

void WaylandConnection::fail(const char* what) {
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

} // namespace pipfield
