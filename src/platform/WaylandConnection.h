#pragma once

#include <QObject>
#include <QPointF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct wp_fractional_scale_manager_v1;
struct wp_viewporter;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
class QSocketNotifier;

namespace pipfield {

class WaylandConnection;

/// One output of the compositor, as far as it has announced itself.
struct WaylandOutput {
    WaylandConnection* owner = nullptr;
    std::uint32_t globalName = 0;
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    QString name;
    QString description;
    QString make;
    QString model;
    QSize modeSize;
    // The compositor's own word for the size in logical pixels, where it says.
    QSize xdgLogicalSize;
    std::int32_t transform = 0;
    int scale = 1;
    bool done = false;
    // It closed the strip's surface while still announced (switched off): the strip waits elsewhere
    // until the output says something new about itself.
    bool closedStrip = false;

    QSize logicalSize() const;
};

/// What the user of a connection hears of its outputs and its pointer.
class WaylandClient {
public:
    virtual ~WaylandClient() = default;
    /// The output announced itself anew (at first, or a changed mode, scale or name).
    virtual void outputDone(WaylandOutput& output) = 0;
    /// The output is going away; it is released after this returns.
    virtual void outputRemoved(wl_output* output) = 0;
    /// The outputs came, went or changed, after either of the above.
    virtual void outputsMoved() = 0;
    virtual void pointerEntered(wl_surface* surface, QPointF position) = 0;
    virtual void pointerLeft() = 0;
    virtual void pointerMoved(QPointF position) = 0;
    virtual void pointerButton(std::uint32_t button, std::uint32_t state) = 0;
};

/// A connection of its own to the session's Wayland compositor, beside Qt's: the globals the strip
/// needs, the outputs, the seat's pointer, and the reading of events on the Qt event loop.
class WaylandConnection final : public QObject {
    Q_OBJECT

public:
    /// Takes over `display`; events go to `client`, which must outlive the connection.
    WaylandConnection(wl_display* display, WaylandClient& client);
    ~WaylandConnection() override;

    /// Lists the globals and their first events. False when the compositor went away or lacks the
    /// layer shell, a compositor of version 4 or shared memory.
    bool readGlobals();
    /// Joins the connection to the Qt event loop of the main thread; needs the application object.
    void start();
    /// Sends what was asked for; a failure is noticed with the next read.
    void flush();
    /// The connection was lost: nothing more is sent or read.
    bool failed() const { return m_failed; }

    wl_display* display() const { return m_display; }
    wl_compositor* compositor() const { return m_compositor; }
    wl_shm* shm() const { return m_shm; }
    zwlr_layer_shell_v1* layerShell() const { return m_layerShell; }
    std::uint32_t layerShellVersion() const { return m_layerShellVersion; }
    wp_viewporter* viewporter() const { return m_viewporter; }
    wp_fractional_scale_manager_v1* fractionalScales() const { return m_fractionalScales; }

    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return m_outputs; }
    /// The announced output of this name; null for an empty name.
    WaylandOutput* findOutput(const QString& name) const;
    WaylandOutput* findOutput(const wl_output* output) const;

private:
    friend struct WaylandListeners;

    void dispatch();
    void fail(const char* what);
    void onGlobal(std::uint32_t name, const char* interface, std::uint32_t version);
    void onGlobalRemove(std::uint32_t name);
    void watchLogicalSize(WaylandOutput& output);
    void onOutputDone(WaylandOutput& output);
    void onSeatCapabilities(std::uint32_t capabilities);

    wl_display* m_display;
    WaylandClient& m_client;
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
};

} // namespace pipfield
