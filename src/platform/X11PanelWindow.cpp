#include "platform/X11PanelWindow.h"

#include "kit/RegionRects.h"
#include "platform/Logging.h"
#include "platform/Xcb.h"
#include "strip/StripGeometry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSysInfo>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <bit>

namespace pipfield {

namespace {

using xcb::Reply;

// ICCCM's WM_HINTS and WM_SIZE_HINTS flags and the values the strip gives them.
constexpr std::uint32_t kInputHint = 1;
constexpr std::uint32_t kStateHint = 2;
constexpr std::uint32_t kNormalState = 1;
constexpr std::uint32_t kUserPosition = 1;
constexpr std::uint32_t kUserSize = 2;
constexpr std::uint32_t kWindowGravity = 512;
constexpr std::uint32_t kStaticGravity = 10;
// Motif's hints: the decorations field is set, and there are none.
constexpr std::uint32_t kMotifDecorationsSet = 2;
constexpr std::uint32_t kMotifAllFunctions = 1;
// The most a copy of a rectangle's rows holds at once: a narrow one's pixels are gathered in it, and
// it stays this small however large a rectangle once was.
constexpr std::size_t kCopyBytes = std::size_t{64} * 1024;

// A TrueColor visual of `depth` whose pixels are 0xAARRGGBB as QImage keeps them; `preferred` first.
std::uint32_t findVisual(const xcb_screen_t* screen, std::uint8_t depth, std::uint32_t preferred) {
    std::uint32_t found = 0;
    for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem != 0; xcb_depth_next(&d)) {
        if (d.data->depth != depth) {
            continue;
        }
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem != 0; xcb_visualtype_next(&v)) {
            const xcb_visualtype_t& type = *v.data;
            if (type._class == XCB_VISUAL_CLASS_TRUE_COLOR && type.red_mask == 0xFF0000 && type.green_mask == 0xFF00 &&
                type.blue_mask == 0xFF && (found == 0 || type.visual_id == preferred)) {
                found = type.visual_id;
            }
        }
    }
    return found;
}

int bitsPerPixel(const xcb_setup_t* setup, std::uint8_t depth) {
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup); f.rem != 0; xcb_format_next(&f)) {
        if (f.data->depth == depth) {
            return f.data->bits_per_pixel;
        }
    }
    return 0;
}

QByteArray wmClass() {
    // As Qt names its own windows, so that rules and searches by class find the strip as before.
    QByteArray instance = qgetenv("RESOURCE_NAME");
    if (instance.isEmpty()) {
        const QStringList arguments = QCoreApplication::arguments();
        instance = arguments.isEmpty() ? QByteArray("pipfield") : QFileInfo(arguments.front()).fileName().toLocal8Bit();
    }
    return instance + '\0' + QCoreApplication::applicationName().toLocal8Bit() + '\0';
}

} // namespace

std::unique_ptr<X11PanelWindow> X11PanelWindow::create(QObject* parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    xcb_connection_t* c = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    // A 32-bit visual lets a compositing manager blend the strip with the desktop. Where none runs the
    // strip is opaque, painted sky and all, in the screen's own depth: a window of another depth than
    // its parent the server would have to composite itself.
    const auto usable = [&](Visual visual) { return visual.id != 0 && bitsPerPixel(setup, visual.depth) == 32; };
    Visual translucent{findVisual(screen, 32, 0), 32};
    Visual opaque{findVisual(screen, screen->root_depth, screen->root_visual), screen->root_depth};
    if (!usable(translucent)) {
        translucent = opaque;
    }
    if (!usable(opaque)) {
        opaque = translucent;
    }
    if (!usable(translucent)) {
        qCWarning(lcDesktop) << "the X server has no visual with 32-bit pixels in a known order; the strip is"
                             << "painted through Qt";
        return nullptr;
    }
    std::unique_ptr<X11PanelWindow> window(new X11PanelWindow(c, screen->root, translucent, opaque, parent));
    if (window->m_window == 0) {
        return nullptr;
    }
    qGuiApp->installNativeEventFilter(window.get());
    return window;
}

X11PanelWindow::X11PanelWindow(xcb_connection_t* connection, std::uint32_t root, Visual translucent, Visual opaque,
                               QObject* parent)
    : PanelWindow(parent), m_connection(connection), m_root(root), m_translucentVisual(translucent),
      m_opaqueVisual(opaque) {
    const bool serverLittleEndian = xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    m_swapBytes = serverLittleEndian != (std::endian::native == std::endian::little);
    const std::vector<std::uint32_t> atoms =
        xcb::atoms(connection, {"_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID", "_NET_WM_USER_TIME", "_MOTIF_WM_HINTS"});
    m_atoms = {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4]};
    createWindow(translucent);
}

X11PanelWindow::~X11PanelWindow() {
    if (qGuiApp) {
        qGuiApp->removeNativeEventFilter(this);
    }
    destroyWindow();
    xcb_flush(m_connection);
}

std::uint32_t X11PanelWindow::createWindow(Visual visual) {
    xcb_connection_t* c = m_connection;
    const std::uint32_t colormap = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, m_root, visual.id);
    const std::uint32_t window = xcb_generate_id(c);
    // No background: the server leaves an exposed area as it was instead of clearing it before the
    // strip puts its pixels there, which would flash.
    const std::uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                                    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE,
                                    colormap};
    const xcb_void_cookie_t created = xcb_create_window_checked(
        c, visual.depth, window, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual.id,
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (const Reply<xcb_generic_error_t> error(xcb_request_check(c, created)); error) {
        qCWarning(lcDesktop) << "the X server refused the strip's window (error" << error->error_code << ")";
        xcb_free_colormap(c, colormap);
        return 0;
    }
    destroyWindow();
    m_window = window;
    m_colormap = colormap;
    m_visual = visual;
    m_gc = xcb_generate_id(c);
    xcb_create_gc(c, m_gc, m_window, 0, nullptr);
    setProperties();
    xcb_flush(c);
    return window;
}

void X11PanelWindow::destroyWindow() {
    if (m_window == 0) {
        return;
    }
    xcb_free_gc(m_connection, m_gc);
    xcb_destroy_window(m_connection, m_window);
    xcb_free_colormap(m_connection, m_colormap);
    m_window = 0;
}

bool X11PanelWindow::setTranslucent(bool on) {
    const Visual wanted = on ? m_translucentVisual : m_opaqueVisual;
    // A window's visual is fixed when it is made, so the strip gets a new window, which the panel maps
    // as it maps any withdrawn one. Where the server refuses it the old one stays, and translucent()
    // says which the scene has to paint for.
    if (wanted.id == m_visual.id || createWindow(wanted) == 0) {
        return false;
    }
    m_exposed = QRegion();
    if (m_visible) {
        m_visible = false;
        tellShown();
    }
    if (m_nativeFrame.isValid()) {
        placeWindow();
        newPicture();
    }
    return true;
}

void X11PanelWindow::setProperties() {
    xcb_connection_t* c = m_connection;
    const auto text = [&](std::uint32_t property, std::uint32_t type, const QByteArray& value) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, property, type, 8,
                            static_cast<std::uint32_t>(value.size()), value.constData());
    };
    const auto cardinals = [&](std::uint32_t property, std::uint32_t type, const std::vector<std::uint32_t>& values) {
        xcb::setProperty(c, m_window, property, type, values);
    };
    const QByteArray title("Pipfield");
    text(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
    text(m_atoms.netWmName, m_atoms.utf8String, title);
    text(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass());
    text(XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, QSysInfo::machineHostName().toLocal8Bit());
    cardinals(m_atoms.netWmPid, XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(QCoreApplication::applicationPid())});
    // Never focused, not even when first mapped.
    cardinals(XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, {kInputHint | kStateHint, 0, kNormalState, 0, 0, 0, 0, 0, 0});
    cardinals(m_atoms.netWmUserTime, XCB_ATOM_CARDINAL, {0});
    cardinals(m_atoms.motifWmHints, m_atoms.motifWmHints, {kMotifDecorationsSet, kMotifAllFunctions, 0, 0, 0});
}

void X11PanelWindow::setSizeHints() {
    // Placed by the program, not by the window manager's placement policy; the position is that of the
    // window itself, not of a frame around it.
    std::vector<std::uint32_t> hints(18, 0);
    hints[0] = kUserPosition | kUserSize | kWindowGravity;
    hints[1] = static_cast<std::uint32_t>(m_nativeFrame.x());
    hints[2] = static_cast<std::uint32_t>(m_nativeFrame.y());
    hints[3] = static_cast<std::uint32_t>(m_nativeFrame.width());
    hints[4] = static_cast<std::uint32_t>(m_nativeFrame.height());
    hints[17] = kStaticGravity;
    xcb::setProperty(m_connection, m_window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, hints);
}

void X11PanelWindow::setBoundingShape() {
    // A window with a shape of its own gets no drop shadow from Xfwm4's compositor, which otherwise
    // draws a grey box around a translucent dock. The shape is the whole window, so nothing is cut.
    const xcb_rectangle_t whole{0, 0, static_cast<std::uint16_t>(m_nativeFrame.width()),
                                static_cast<std::uint16_t>(m_nativeFrame.height())};
    const std::uint32_t region = xcb_generate_id(m_connection);
    xcb_xfixes_create_region(m_connection, region, 1, &whole);
    xcb_xfixes_set_window_shape_region(m_connection, m_window, XCB_SHAPE_SK_BOUNDING, 0, 0, region);
    xcb_xfixes_destroy_region(m_connection, region);
}

QRect X11PanelWindow::toNative(const QRect& frame, const QRect& screen, double ratio) {
    const auto scaled = [ratio](int points) { return StripGeometry::devicePixels(points, ratio); };
    // The bottom edge is mapped, not the top: rounded apart, the top and the height could put the
    // strip's last row a pixel below the screen (1022 + 58 points at 1.25 are 1278 + 73 pixels of 1350).
    const int height = scaled(frame.height());
    const int bottom = screen.y() + scaled(frame.y() + frame.height() - screen.y());
    return {screen.x() + scaled(frame.x() - screen.x()), bottom - height, scaled(frame.width()), height};
}

void X11PanelWindow::setContent(const StripSurface::Content* content) {
    m_content = content;
    if (m_visible) {
        tellSize();
        tellShown();
    }
}

void X11PanelWindow::tellSize() {
    // Only a shown strip's scene is laid out: one laid out for nobody would set its workers going. Told
    // again, the same size and scale change nothing.
    if (m_content == nullptr || m_artScale == 0) {
        return;
    }
    if (m_content->resize) {
        m_content->resize(m_contentSize);
    }
    if (m_content->scale) {
        m_content->scale(m_artScale);
    }
}

void X11PanelWindow::tellShown() {
    if (m_content != nullptr && m_content->shown) {
        m_content->shown(m_visible);
    }
}

void X11PanelWindow::setFrame(const QRect& frame, QScreen* screen) {
    if (screen == nullptr || frame.isEmpty()) {
        return;
    }
    m_screen = screen;
    const double ratio = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
    const QRect native = toNative(frame, screen->geometry(), ratio);
    const int scale = StripGeometry::artScale(ratio, native.width());
    if (native == m_nativeFrame && scale == m_artScale) {
        return;
    }
    const bool repaint = native.size() != m_nativeFrame.size() || scale != m_artScale;
    m_nativeFrame = native;
    m_artScale = scale;
    placeWindow();
    if (repaint) {
        newPicture();
    }
}

void X11PanelWindow::placeWindow() {
    const QRect& native = m_nativeFrame;
    const std::uint32_t values[] = {static_cast<std::uint32_t>(native.x()), static_cast<std::uint32_t>(native.y()),
                                    static_cast<std::uint32_t>(native.width()),
                                    static_cast<std::uint32_t>(native.height())};
    xcb_configure_window(m_connection, m_window,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    setSizeHints();
    setBoundingShape();
    xcb_flush(m_connection);
}

void X11PanelWindow::newPicture() {
    m_image = QImage(m_nativeFrame.size(), translucent() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    m_image.fill(translucent() ? Qt::transparent : Qt::black);
    m_image.setDevicePixelRatio(m_artScale);
    // Whole art pixels only: a sliver at the right or bottom edge stays clear.
    m_contentSize = QSize(m_nativeFrame.width() / m_artScale, m_nativeFrame.height() / m_artScale);
    m_dirty = QRegion(QRect(QPoint(0, 0), m_contentSize));
    if (m_visible) {
        tellSize();
    }
    schedulePaint();
}

void X11PanelWindow::setVisible(bool visible) {
    if (visible == m_visible) {
        return;
    }
    m_visible = visible;
    if (visible) {
        xcb_map_window(m_connection, m_window);
    } else {
        xcb::withdraw(m_connection, m_root, m_window);
        m_exposed = QRegion();
    }
    xcb_flush(m_connection);
    if (visible) {
        tellSize();
    }
    tellShown();
    schedulePaint();
}

void X11PanelWindow::setClickThrough(bool on) {
    m_clickThrough = on;
    // An empty input shape lets every click through to the window below; none gives the default back.
    std::uint32_t region = XCB_NONE;
    if (on) {
        region = xcb_generate_id(m_connection);
        xcb_xfixes_create_region(m_connection, region, 0, nullptr);
    }
    xcb_xfixes_set_window_shape_region(m_connection, m_window, XCB_SHAPE_SK_INPUT, 0, 0, region);
    if (on) {
        xcb_xfixes_destroy_region(m_connection, region);
    }
    xcb_flush(m_connection);
}

void X11PanelWindow::damage(const QRegion& region) {
    if (m_image.isNull()) {
        return;
    }
    m_dirty += region & QRect(QPoint(0, 0), m_contentSize);
    if (!m_visible) {
        return;
    }
    // A finished frame of the scene is put on screen on the same wake-up; anything else waits for the
    // event loop, when the scene has settled, and goes with whatever else it damaged meanwhile.
    if (m_content != nullptr && m_content->frameReady && m_content->frameReady()) {
        paint();
    } else {
        schedulePaint();
    }
}

void X11PanelWindow::schedulePaint() {
    if (m_paintPlanned || !m_visible || m_dirty.isEmpty()) {
        return;
    }
    m_paintPlanned = true;
    QTimer::singleShot(0, this, [this] {
        m_paintPlanned = false;
        paint();
    });
}

void X11PanelWindow::paint() {
    if (m_dirty.isEmpty() || m_image.isNull() || !m_visible) {
        return;
    }
    // Taken before painting: whatever the scene damages while it paints waits for the next paint.
    const QRegion region = m_dirty;
    m_dirty = QRegion();
    const std::vector<QRect> rects = wholeRects(region);
    if (m_content != nullptr && m_content->paint) {
        m_content->paint(m_image, region);
    }
    // The rectangles do not overlap, and scaled they still do not.
    for (const QRect& rect : rects) {
        put(QRect(rect.topLeft() * m_artScale, rect.size() * m_artScale));
    }
    xcb_flush(m_connection);
}

void X11PanelWindow::put(const QRect& devicePixels) {
    // A request carries at most the server's maximum length (in four-byte units) less its header, so a
    // large rectangle goes in bands of whole rows.
    const std::size_t maxBytes = static_cast<std::size_t>(xcb_get_maximum_request_length(m_connection)) * 4 - 64;
    const QRect rect = devicePixels & m_image.rect();
    if (rect.isEmpty()) {
        return;
    }
    const auto width = static_cast<std::size_t>(rect.width());
    // Rows as wide as the image follow one another in it and are sent from where they lie; the
    // rows of a narrower rectangle are copied a band at a time, so the copy stays small.
    const bool inPlace = !m_swapBytes && rect.x() == 0 && rect.width() == m_image.width() &&
                         static_cast<std::size_t>(m_image.bytesPerLine()) == width * 4;
    const std::size_t bandBytes = inPlace ? maxBytes : std::min(maxBytes, kCopyBytes);
    const int band = static_cast<int>(std::clamp<std::size_t>(bandBytes / (width * 4), 1, 65535));
    for (int top = rect.top(); top <= rect.bottom(); top += band) {
        const int rows = std::min(band, rect.bottom() + 1 - top);
        const std::size_t bytes = width * 4 * static_cast<std::size_t>(rows);
        const std::uint8_t* data = m_image.constScanLine(top);
        if (!inPlace) {
            m_rows.resize(width * static_cast<std::size_t>(rows));
            for (int row = 0; row < rows; ++row) {
                const auto* line = reinterpret_cast<const std::uint32_t*>(m_image.constScanLine(top + row));
                std::copy_n(line + rect.x(), width, m_rows.begin() + static_cast<std::ptrdiff_t>(width) * row);
            }
            if (m_swapBytes) {
                for (std::uint32_t& pixel : m_rows) {
                    pixel = (pixel >> 24) | ((pixel >> 8) & 0xFF00) | ((pixel << 8) & 0xFF0000) | (pixel << 24);
                }
            }
            data = reinterpret_cast<const std::uint8_t*>(m_rows.data());
        }
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, m_gc, static_cast<std::uint16_t>(rect.width()),
                      static_cast<std::uint16_t>(rows), static_cast<std::int16_t>(rect.x()),
                      static_cast<std::int16_t>(top), 0, m_visual.depth, static_cast<std::uint32_t>(bytes), data);
        ++m_puts;
    }
}

bool X11PanelWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_EXPOSE: {
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (expose->window != m_window) {
            return false;
        }
        m_exposed += QRect(expose->x, expose->y, expose->width, expose->height);
        // The last of a series: everything the server lost is sent at once, with whatever is still to paint.
        if (expose->count == 0 && m_visible) {
            paint();
            for (const QRect& rect : wholeRects(m_exposed)) {
                put(rect);
            }
            m_exposed = QRegion();
            xcb_flush(m_connection);
        }
        return true;
    }
    case XCB_BUTTON_PRESS: {
        const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (press->event != m_window) {
            return false;
        }
        constexpr std::uint8_t kLeftButton = 1;
        if (press->detail == kLeftButton && !m_clickThrough && m_artScale > 0 && m_content != nullptr &&
            m_content->click) {
            m_content->click(QPointF(press->event_x, press->event_y) / m_artScale);
        }
        return true;
    }
    case XCB_BUTTON_RELEASE:
        return reinterpret_cast<const xcb_button_release_event_t*>(event)->event == m_window;
    default:
        return false;
    }
}

} // namespace pipfield
