#include "platform/X11Desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace pipfield {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;

// A property of 32-bit values; nothing when the window does not have it.
std::optional<std::vector<std::uint32_t>> values32(xcb_connection_t* c, std::uint32_t window, std::uint32_t property,
                                                   std::uint32_t type) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 32) {
        return std::nullopt;
    }
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<std::uint32_t>(data, data + count);
}

std::vector<std::uint32_t> cardinals(xcb_connection_t* c, std::uint32_t window, std::uint32_t property,
                                     std::uint32_t type) {
    return values32(c, window, property, type).value_or(std::vector<std::uint32_t>{});
}

void changeProperty(xcb_connection_t* c, std::uint32_t window, std::uint32_t property, std::uint32_t type,
                    const std::vector<std::uint32_t>& values) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, 32, static_cast<std::uint32_t>(values.size()),
                        values.data());
}

} // namespace

X11Desktop* X11Desktop::create(QObject* parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return new X11Desktop(c, screen->root, parent);
}

X11Desktop::X11Desktop(xcb_connection_t* connection, std::uint32_t root, QObject* parent)
    : DesktopEvents(parent), m_connection(connection), m_root(root) {
    m_atoms = Atoms{atom("_NET_CURRENT_DESKTOP"),
                    atom("_NET_ACTIVE_WINDOW"),
                    atom("_NET_CLIENT_LIST_STACKING"),
                    atom("_NET_WM_WINDOW_TYPE"),
                    atom("_NET_WM_WINDOW_TYPE_DOCK"),
                    atom("_NET_WM_WINDOW_TYPE_DESKTOP"),
                    atom("_NET_WM_STATE"),
                    atom("_NET_WM_STATE_HIDDEN"),
                    atom("_NET_WM_STATE_SKIP_TASKBAR"),
                    atom("_NET_WM_STATE_SKIP_PAGER"),
                    atom("_NET_WM_STATE_ABOVE"),
                    atom("_NET_WM_STATE_STICKY"),
                    atom("_NET_WM_DESKTOP")};
    listenForProperties(m_root);

    // _NET_WM_CM_S0 is owned by the compositing manager of screen 0 while one runs; XFixes tells us
    // when that ownership changes, so the strip can switch between translucency and its painted sky.
    m_cmSelection = atom("_NET_WM_CM_S0");
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (xfixes != nullptr && xfixes->present) {
        Reply<xcb_xfixes_query_version_reply_t>(xcb_xfixes_query_version_reply(
            m_connection, xcb_xfixes_query_version(m_connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_xfixesFirstEvent = xfixes->first_event;
        xcb_xfixes_select_selection_input(m_connection, m_root, m_cmSelection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    m_compositing = readCompositing();
    watchActiveWindow();
    xcb_flush(m_connection);
    qGuiApp->installNativeEventFilter(this);
}

X11Desktop::~X11Desktop() {
    if (qGuiApp) {
        qGuiApp->removeNativeEventFilter(this);
    }
}

std::uint32_t X11Desktop::atom(const char* name) const {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE);
}

void X11Desktop::listenForProperties(std::uint32_t window) const {
    // Qt selects its own events on the root window; ours are added to that mask, never replacing it.
    // On another client's window the mask is this connection's own.
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    if (!attributes) {
        return;
    }
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
}

void X11Desktop::watchActiveWindow() {
    const std::vector<std::uint32_t> active = cardinals(m_connection, m_root, m_atoms.activeWindow, XCB_ATOM_WINDOW);
    const std::uint32_t window = active.empty() ? 0 : active[0];
    if (window != 0 && window != m_activeWindow) {
        listenForProperties(window);
    }
    m_activeWindow = window;
}

bool X11Desktop::readCompositing() const {
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, m_cmSelection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

bool X11Desktop::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & ~0x80;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (property->window == m_root && property->atom == m_atoms.currentDesktop) {
            Q_EMIT desktopSwitched();
        } else if (property->window == m_root && property->atom == m_atoms.activeWindow) {
            watchActiveWindow();
            xcb_flush(m_connection);
            Q_EMIT activeWindowChanged();
        } else if ((property->window == m_activeWindow && property->atom == m_atoms.wmState) ||
                   (property->window == m_root && property->atom == m_atoms.clientListStacking)) {
            // A window going full screen is restacked too: that catches the change even when it
            // came before this connection was listening to the window's own state.
            Q_EMIT activeWindowChanged();
        }
    } else if (m_xfixesFirstEvent >= 0 && type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const bool now = readCompositing();
        if (now != m_compositing) {
            m_compositing = now;
            Q_EMIT compositingChanged(now);
        }
    }
    return false;
}

std::optional<std::vector<WindowEntry>> X11Desktop::onScreenWindows() const {
    const std::optional<std::vector<std::uint32_t>> stacking =
        values32(m_connection, m_root, m_atoms.clientListStacking, XCB_ATOM_WINDOW);
    if (!stacking) {
        return std::nullopt; // no EWMH window manager: nothing can be said
    }
    const std::vector<std::uint32_t> current =
        cardinals(m_connection, m_root, m_atoms.currentDesktop, XCB_ATOM_CARDINAL);
    const std::uint32_t desktop = current.empty() ? 0 : current[0];
    const std::uint32_t typeAtom = m_atoms.wmWindowType;
    const std::uint32_t dockType = m_atoms.typeDock;
    const std::uint32_t desktopType = m_atoms.typeDesktop;
    const std::uint32_t stateAtom = m_atoms.wmState;
    const std::uint32_t hiddenState = m_atoms.stateHidden;
    const std::uint32_t desktopAtom = m_atoms.wmDesktop;
    // Window geometry is in device pixels; the strip compares it with Qt's logical screen rectangles.
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double ratio = primary != nullptr ? primary->devicePixelRatio() : 1.0;

    struct Shown {
        bool dock;
        QRect native;
    };
    std::vector<Shown> shown;
    shown.reserve(stacking->size());
    for (std::uint32_t window : *stacking) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
            continue;
        }
        const std::vector<std::uint32_t> types = cardinals(m_connection, window, typeAtom, XCB_ATOM_ATOM);
        if (!types.empty() && types[0] == desktopType) {
            continue;
        }
        const std::vector<std::uint32_t> states = cardinals(m_connection, window, stateAtom, XCB_ATOM_ATOM);
        if (std::find(states.begin(), states.end(), hiddenState) != states.end()) {
            continue;
        }
        const std::vector<std::uint32_t> onDesktop = cardinals(m_connection, window, desktopAtom, XCB_ATOM_CARDINAL);
        if (!onDesktop.empty() && onDesktop[0] != desktop && onDesktop[0] != kAllDesktops) {
            continue;
        }
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
        if (!geometry || !origin) {
            continue;
        }
        shown.push_back({!types.empty() && types[0] == dockType,
                         QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height)});
    }

    std::vector<WindowEntry> entries;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].dock) {
            // A panel under a full-screen window is still mapped, but it no longer shows, as a menu bar
            // does not over a full-screen application; only panels still in sight count.
            bool covered = false;
            for (std::size_t j = i + 1; j < shown.size() && !covered; ++j) {
                covered = shown[j].native.contains(shown[i].native);
            }
            if (covered) {
                continue;
            }
        }
        const QRectF logical(shown[i].native.x() / ratio, shown[i].native.y() / ratio, shown[i].native.width() / ratio,
                             shown[i].native.height() / ratio);
        entries.push_back({shown[i].dock ? kMenuBarLayer : kNormalLayer, logical});
    }
    return entries;
}

void X11Desktop::makePanel(QWindow* window) const {
    const auto id = static_cast<std::uint32_t>(window->winId());
    changeProperty(m_connection, id, m_atoms.wmWindowType, XCB_ATOM_ATOM, {m_atoms.typeDock});
    // Window managers ignore the sticky state for this; the all-desktops number is what they honour.
    changeProperty(m_connection, id, m_atoms.wmDesktop, XCB_ATOM_CARDINAL, {kAllDesktops});
    changeProperty(m_connection, id, m_atoms.wmState, XCB_ATOM_ATOM,
                   {m_atoms.stateSkipTaskbar, m_atoms.stateSkipPager, m_atoms.stateAbove, m_atoms.stateSticky});
    xcb_flush(m_connection);
}

} // namespace pipfield
