#include "platform/X11Desktop.h"

#include "platform/Logging.h"
#include "platform/Xcb.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <optional>

namespace pipfield {
namespace {

using xcb::Reply;

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;

std::vector<ScreenScale> screenScales() {
    std::vector<ScreenScale> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back({screen->geometry(), screen->devicePixelRatio()});
    }
    return screens;
}

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

std::vector<std::uint32_t> atomsOf(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->type == XCB_ATOM_NONE || reply->format != 32) {
        return {};
    }
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    return std::vector<std::uint32_t>(data, data + xcb_get_property_value_length(reply) / 4);
}

std::vector<std::uint32_t> cardinals(xcb_connection_t* c, std::uint32_t window, std::uint32_t property,
                                     std::uint32_t type) {
    return values32(c, window, property, type).value_or(std::vector<std::uint32_t>{});
}

// A window as it shows, in root coordinates: an X border of its own (xev keeps one of 2 pixels)
// lies around the inside that the geometry and the translated origin describe.
QRect shownRect(const xcb_get_geometry_reply_t& geometry, const xcb_translate_coordinates_reply_t& origin) {
    const int border = geometry.border_width;
    return {origin.dst_x - border, origin.dst_y - border, geometry.width + 2 * border, geometry.height + 2 * border};
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
                    atom("_NET_WM_WINDOW_TYPE_UTILITY"),
                    atom("_NET_WM_WINDOW_TYPE_DESKTOP"),
                    atom("_NET_WM_STATE"),
                    atom("_NET_WM_STATE_HIDDEN"),
                    atom("_NET_WM_STATE_FULLSCREEN"),
                    atom("_NET_WM_STATE_SKIP_TASKBAR"),
                    atom("_NET_WM_STATE_SKIP_PAGER"),
                    atom("_NET_WM_STATE_ABOVE"),
                    atom("_NET_WM_STATE_STICKY"),
                    atom("_NET_WM_DESKTOP"),
                    atom("_NET_SUPPORTING_WM_CHECK"),
                    atom("_NET_WM_NAME"),
                    atom("UTF8_STRING"),
                    atom("_COMPTON_SHADOW"),
                    atom("_NET_RESTACK_WINDOW")};
    listenForProperties(m_root);

    // _NET_WM_CM_S0 is owned by the compositing manager of screen 0 while one runs; XFixes tells us
    // when that ownership changes, so the strip can switch between translucency and its painted sky.
    m_cmSelection = atom("_NET_WM_CM_S0");
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (xfixes != nullptr && xfixes->present) {
        // XFixes answers nothing else before it has been told the client's version; the answer itself
        // is not needed.
        const Reply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
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
    watchClientWindows();
    xcb_flush(m_connection);
    qGuiApp->installNativeEventFilter(this);
}

X11Desktop::~X11Desktop() {
    if (qGuiApp) {
        qGuiApp->removeNativeEventFilter(this);
    }
}

std::uint32_t X11Desktop::atom(const char* name) const {
    return xcb::atom(m_connection, name);
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

void X11Desktop::watchClientWindows() {
    // A window can go full screen or leave it without being the active one (the focus may be on
    // another window by then), so the state of every managed window is listened to.
    const std::vector<std::uint32_t> clients =
        cardinals(m_connection, m_root, m_atoms.clientListStacking, XCB_ATOM_WINDOW);
    std::set<std::uint32_t> now(clients.begin(), clients.end());
    for (const std::uint32_t window : now) {
        if (m_watched.count(window) == 0) {
            listenForProperties(window);
        }
    }
    m_watched = std::move(now);
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
        } else if (property->window == m_root && property->atom == m_atoms.clientListStacking) {
            // A window going full screen is restacked too: that catches the change even when it
            // came before this connection was listening to the window's own state.
            watchClientWindows();
            xcb_flush(m_connection);
            Q_EMIT activeWindowChanged();
        } else if (property->atom == m_atoms.wmState &&
                   (property->window == m_activeWindow || m_watched.count(property->window) != 0)) {
            Q_EMIT activeWindowChanged();
        }
    } else if (type == XCB_REPARENT_NOTIFY) {
        const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
        if (reparent->window == m_awaitingRelease && reparent->parent == m_root) {
            m_awaitingRelease = 0;
            xcb_map_window(m_connection, reparent->window);
            raise(reparent->window);
            xcb_flush(m_connection);
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

// The questions about one window, sent before the first answer is awaited: one round trip for the
// whole list, however many windows there are.
struct X11Desktop::PendingWindow {
    std::uint32_t window;
    bool managed;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t state, onDesktop;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
};

// A viewable override-redirect window, with the question about its children still out.
struct X11Desktop::UnmanagedWindow {
    QRect native;
    xcb_query_tree_cookie_t children;
};

std::optional<std::vector<WindowEntry>> X11Desktop::onScreenWindows() const {
    const std::optional<std::vector<std::uint32_t>> stacking =
        values32(m_connection, m_root, m_atoms.clientListStacking, XCB_ATOM_WINDOW);
    if (!stacking) {
        return std::nullopt; // no EWMH window manager: nothing can be said
    }
    const std::vector<ScreenScale> screens = screenScales();
    std::vector<UnmanagedWindow> unmanaged;
    std::vector<WindowEntry> entries = collectWindows(askAboutWindows(*stacking), screens, unmanaged);
    for (const QRect& native : withoutFrames(unmanaged, *stacking)) {
        entries.push_back({WindowEntry::Kind::Unmanaged, toLogical(native, screens)});
    }
    return entries;
}

std::vector<X11Desktop::PendingWindow> X11Desktop::askAboutWindows(const std::vector<std::uint32_t>& stacking) const {
    xcb_connection_t* c = m_connection;
    std::vector<PendingWindow> pending;
    auto ask = [&](std::uint32_t window, bool managed) {
        pending.push_back({window, managed, xcb_get_window_attributes(c, window),
                           xcb_get_property(c, 0, window, m_atoms.wmState, XCB_ATOM_ATOM, 0, 64),
                           xcb_get_property(c, 0, window, m_atoms.wmDesktop, XCB_ATOM_CARDINAL, 0, 1),
                           xcb_get_geometry(c, window), xcb_translate_coordinates(c, window, m_root, 0, 0)});
    };
    for (const std::uint32_t window : stacking) {
        ask(window, true);
    }
    // Unmanaged windows are not in the window manager's list; they are the root's own children.
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, m_root), nullptr));
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        for (int i = 0; i < count; ++i) {
            ask(children[i], false);
        }
    }
    return pending;
}

std::vector<WindowEntry> X11Desktop::collectWindows(const std::vector<PendingWindow>& pending,
                                                    const std::vector<ScreenScale>& screens,
                                                    std::vector<UnmanagedWindow>& unmanaged) const {
    xcb_connection_t* c = m_connection;
    const std::vector<std::uint32_t> current = cardinals(c, m_root, m_atoms.currentDesktop, XCB_ATOM_CARDINAL);
    const std::uint32_t desktop = current.empty() ? 0 : current[0];
    std::vector<WindowEntry> entries;
    for (const PendingWindow& p : pending) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, p.attributes, nullptr));
        const Reply<xcb_get_property_reply_t> state(xcb_get_property_reply(c, p.state, nullptr));
        const Reply<xcb_get_property_reply_t> onDesktop(xcb_get_property_reply(c, p.onDesktop, nullptr));
        const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
        const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, p.origin, nullptr));
        if (!attributes || !geometry || !origin || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
            continue;
        }
        const QRect native = shownRect(*geometry, *origin);
        if (!p.managed) {
            // Input-only windows (some window managers keep one over the whole screen) show nothing.
            if (attributes->override_redirect && attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT) {
                unmanaged.push_back({native, xcb_query_tree(c, p.window)});
            }
            continue;
        }
        const auto states = atomsOf(state.get());
        if (std::find(states.begin(), states.end(), m_atoms.stateHidden) != states.end()) {
            continue;
        }
        const auto desktops = atomsOf(onDesktop.get());
        if (!desktops.empty() && desktops[0] != desktop && desktops[0] != kAllDesktops) {
            continue;
        }
        const bool fullScreen = std::find(states.begin(), states.end(), m_atoms.stateFullScreen) != states.end();
        entries.push_back(
            {fullScreen ? WindowEntry::Kind::FullScreen : WindowEntry::Kind::Ordinary, toLogical(native, screens)});
    }
    return entries;
}

std::vector<QRect> X11Desktop::withoutFrames(const std::vector<UnmanagedWindow>& unmanaged,
                                             const std::vector<std::uint32_t>& stacking) const {
    // Some window managers (i3) make their frames override-redirect too; a frame holds a window
    // the window manager manages, a game's own window does not.
    std::vector<QRect> own;
    for (const UnmanagedWindow& window : unmanaged) {
        const Reply<xcb_query_tree_reply_t> children(xcb_query_tree_reply(m_connection, window.children, nullptr));
        if (!children) {
            continue;
        }
        const xcb_window_t* child = xcb_query_tree_children(children.get());
        const xcb_window_t* end = child + xcb_query_tree_children_length(children.get());
        const bool frame = std::any_of(child, end, [&](xcb_window_t w) {
            return std::find(stacking.begin(), stacking.end(), w) != stacking.end();
        });
        if (!frame) {
            own.push_back(window.native);
        }
    }
    return own;
}

std::optional<QRectF> X11Desktop::focusedWindow() const {
    const std::vector<std::uint32_t> active = cardinals(m_connection, m_root, m_atoms.activeWindow, XCB_ATOM_WINDOW);
    if (active.empty() || active[0] == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, active[0]), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, active[0], m_root, 0, 0), nullptr));
    if (!geometry || !origin) {
        return std::nullopt;
    }
    return toLogical(shownRect(*geometry, *origin), screenScales());
}

QString X11Desktop::windowManagerName() const {
    const std::vector<std::uint32_t> check =
        cardinals(m_connection, m_root, m_atoms.supportingWmCheck, XCB_ATOM_WINDOW);
    if (check.empty()) {
        return {};
    }
    const Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, check[0], m_atoms.wmName, m_atoms.utf8String, 0, 256),
        nullptr));
    if (!name || name->format != 8) {
        return {};
    }
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(name.get())),
                             xcb_get_property_value_length(name.get()));
}

std::vector<std::uint32_t> X11Desktop::panelStates() const {
    return {m_atoms.stateSkipTaskbar, m_atoms.stateSkipPager, m_atoms.stateAbove, m_atoms.stateSticky};
}

void X11Desktop::setPanelProperties(std::uint32_t id) const {
    // Before mapping, the properties are the client's to set, and the window manager reads them when
    // it takes the window on. Once mapped they are the window manager's (panelShown).
    xcb::setProperty(m_connection, id, m_atoms.wmDesktop, XCB_ATOM_CARDINAL, {kAllDesktops});
    std::vector<std::uint32_t> states = cardinals(m_connection, id, m_atoms.wmState, XCB_ATOM_ATOM);
    for (const std::uint32_t state : panelStates()) {
        if (std::find(states.begin(), states.end(), state) == states.end()) {
            states.push_back(state);
        }
    }
    xcb::setProperty(m_connection, id, m_atoms.wmState, XCB_ATOM_ATOM, states);
}

void X11Desktop::makePanel(quintptr window) const {
    const auto id = static_cast<std::uint32_t>(window);
    const PanelStyle style = panelStyleFor(windowManagerName());
    xcb::setProperty(m_connection, id, m_atoms.wmWindowType, XCB_ATOM_ATOM,
                     {style == PanelStyle::Dock ? m_atoms.typeDock : m_atoms.typeUtility});
    // Compositors that draw shadows (picom and its forebears) leave out windows that ask so.
    xcb::setProperty(m_connection, id, m_atoms.comptonShadow, XCB_ATOM_CARDINAL, {0});
    if (style == PanelStyle::FloatingUtility) {
        // i3 frames every window it manages, floating ones too, and its frame takes the clicks
        // that the strip lets through and focuses the strip with them. So there the strip stays
        // out of the window manager's hands altogether (keepAboveAll), from its first map on.
        const Reply<xcb_get_window_attributes_reply_t> state(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
        if (state && state->map_state == XCB_MAP_STATE_UNMAPPED) {
            m_bypassing = id;
        }
    }
    if (m_bypassing == id) {
        // Qt resets the attribute with any change of the window's flags.
        const std::uint32_t on = 1;
        xcb_change_window_attributes(m_connection, id, XCB_CW_OVERRIDE_REDIRECT, &on);
    }
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
    if (!attributes || attributes->map_state == XCB_MAP_STATE_UNMAPPED) {
        setPanelProperties(id);
    }
    xcb_flush(m_connection);
}

void X11Desktop::sendToRoot(std::uint32_t window, std::uint32_t type, const std::vector<std::uint32_t>& data) const {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (std::size_t i = 0; i < data.size() && i < 5; ++i) {
        event.data.data32[i] = data[i];
    }
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

void X11Desktop::panelShown(quintptr window) const {
    // The requests reach the window manager after the map request that came before them, so they
    // apply to the window it has just taken on, whatever it did with the properties meanwhile.
    const auto id = static_cast<std::uint32_t>(window);
    constexpr std::uint32_t kAdd = 1;
    constexpr std::uint32_t kFromPager = 2; // a source that window managers do not second-guess
    sendToRoot(id, m_atoms.wmDesktop, {kAllDesktops, kFromPager});
    const std::vector<std::uint32_t> states = panelStates();
    for (std::size_t i = 0; i + 1 < states.size(); i += 2) {
        sendToRoot(id, m_atoms.wmState, {kAdd, states[i], states[i + 1], kFromPager});
    }
    xcb_flush(m_connection);
}

void X11Desktop::raise(std::uint32_t window) const {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

void X11Desktop::keepAboveAll(quintptr window, bool on) const {
    const auto id = static_cast<std::uint32_t>(window);
    on = on || panelStyleFor(windowManagerName()) == PanelStyle::FloatingUtility;
    if (on == (m_bypassing == id)) {
        if (on) {
            raise(id);
            xcb_flush(m_connection);
        }
        return;
    }
    qCDebug(lcDesktop) << (on ? "strip leaves the window manager to stay above full screen"
                              : "strip back in the window manager's hands");
    // Every window manager stacks a focused full-screen window above all the windows it manages,
    // panels included. Only a window it does not manage can be raised above that, so while one
    // is there the strip leaves the window manager's hands: withdrawn, marked override-redirect and
    // mapped again once the window manager has let go of it (given it back to the root window);
    // mapped inside the window manager's frame it would vanish with the frame. The way back is the
    // same with the mark taken off and the panel's properties given again.
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, id), nullptr));
    const bool framed = on && tree && tree->parent != m_root;
    if (on) {
        xcb::withdraw(m_connection, m_root, id);
    } else {
        xcb_unmap_window(m_connection, id);
    }
    const std::uint32_t overrideRedirect = on ? 1 : 0;
    xcb_change_window_attributes(m_connection, id, XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
    m_bypassing = on ? id : 0;
    m_awaitingRelease = framed ? id : 0;
    if (framed) {
        xcb_flush(m_connection);
        return; // mapped when the window manager hands it back (nativeEventFilter)
    }
    if (!on) {
        setPanelProperties(id);
    }
    xcb_map_window(m_connection, id);
    if (on) {
        raise(id);
        xcb_flush(m_connection);
    } else {
        panelShown(window);
    }
}

PanelStyle panelStyleFor(const QString& windowManager) {
    // i3 puts dock windows into bars of its own that take a screen-wide row away from every window.
    return windowManager.compare(QLatin1String("i3"), Qt::CaseInsensitive) == 0 ? PanelStyle::FloatingUtility
                                                                                : PanelStyle::Dock;
}

QRectF toLogical(const QRect& native, const std::vector<ScreenScale>& screens) {
    if (screens.empty()) {
        return QRectF(native);
    }
    const ScreenScale* on = &screens.front();
    for (const ScreenScale& screen : screens) {
        const QRect nativeScreen(screen.logical.topLeft(), (QSizeF(screen.logical.size()) * screen.ratio).toSize());
        if (nativeScreen.contains(native.center())) {
            on = &screen;
            break;
        }
    }
    const QPointF origin = on->logical.topLeft();
    const double ratio = on->ratio > 0 ? on->ratio : 1.0;
    return QRectF(origin + (QPointF(native.topLeft()) - origin) / ratio, QSizeF(native.size()) / ratio);
}

} // namespace pipfield
