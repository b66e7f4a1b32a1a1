// The strip's own X11 window on a real X server (Xvfb, no window manager): what the server shows is
// what the scene painted, sent again only where it changed, and clicks reach the scene in its points.

#include "platform/X11PanelWindow.h"

#include "platform/Xcb.h"
#include "strip/StripGeometry.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace pipfield {
namespace {

using xcb::Reply;

xcb_connection_t* connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

class X11PanelWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under an X server with QT_QPA_PLATFORM=xcb";
        m_window = X11PanelWindow::create();
        ASSERT_NE(m_window, nullptr);
        m_content.paint = [this](QImage& image, const QRegion& region) {
            ++m_paints;
            m_painted = region;
            QPainter painter(&image);
            painter.setClipRegion(region);
            painter.fillRect(QRect(QPoint(0, 0), m_size), m_colour);
        };
        m_content.resize = [this](QSize size) { m_size = size; };
        m_content.scale = [this](int scale) { m_scale = scale; };
        m_content.shown = [this](bool shown) { m_shown = shown; };
        m_content.click = [this](QPointF point) { m_clicks.push_back(point); };
        m_window->setContent(&m_content);
        QScreen* screen = QGuiApplication::primaryScreen();
        m_ratio = screen->devicePixelRatio();
        m_frame = StripGeometry::frameFor(screen->availableGeometry(), m_ratio);
        m_window->setFrame(m_frame, screen);
    }

    // Shown, painted whole and its first exposure answered, so that what follows counts alone.
    bool showAndSettle() {
        m_window->setVisible(true);
        return QTest::qWaitFor([&] { return m_window->puts() >= 2; }, 3000) && showsAt({30, 30}, Qt::red);
    }

    // The window's rectangle and depth as the server has them (no window manager: on the root).
    std::pair<QRect, int> serverWindow() const {
        const Reply<xcb_get_geometry_reply_t> g(
            xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), id()), nullptr));
        return g ? std::pair(QRect(g->x, g->y, g->width, g->height), int{g->depth}) : std::pair<QRect, int>();
    }
    QRect expectedFrame() const {
        return X11PanelWindow::toNative(m_frame, QGuiApplication::primaryScreen()->geometry(), m_ratio);
    }

    std::uint32_t id() const { return static_cast<std::uint32_t>(m_window->nativeId()); }

    // A pixel of the window as the server holds it, at a point of the scene.
    QRgb pixelAt(QPoint point) const {
        const QPoint device = point * m_scale;
        const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
            connection(),
            xcb_get_image(connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, id(), static_cast<std::int16_t>(device.x()),
                          static_cast<std::int16_t>(device.y()), 1, 1, ~0U),
            nullptr));
        if (!image || xcb_get_image_data_length(image.get()) < 4) {
            return 0;
        }
        QRgb pixel = 0;
        std::memcpy(&pixel, xcb_get_image_data(image.get()), sizeof pixel);
        return pixel | 0xFF000000; // the alpha byte of an uncomposited window is the server's to keep
    }

    bool showsAt(QPoint point, QColor colour) const {
        return QTest::qWaitFor([&] { return pixelAt(point) == colour.rgb(); }, 3000);
    }

    void press(QPoint device, std::uint8_t button) {
        xcb_button_press_event_t event{};
        event.response_type = XCB_BUTTON_PRESS;
        event.detail = button;
        event.event = id();
        event.root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
        event.event_x = static_cast<std::int16_t>(device.x());
        event.event_y = static_cast<std::int16_t>(device.y());
        xcb_send_event(connection(), 0, id(), XCB_EVENT_MASK_BUTTON_PRESS, reinterpret_cast<const char*>(&event));
        xcb_flush(connection());
    }

    std::vector<xcb_rectangle_t> inputShape() const {
        const Reply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
            connection(), xcb_shape_get_rectangles(connection(), id(), XCB_SHAPE_SK_INPUT), nullptr));
        const xcb_rectangle_t* rects = reply ? xcb_shape_get_rectangles_rectangles(reply.get()) : nullptr;
        return {rects, rects + (reply ? xcb_shape_get_rectangles_rectangles_length(reply.get()) : 0)};
    }

    std::unique_ptr<X11PanelWindow> m_window;
    StripSurface::Content m_content;
    QColor m_colour = Qt::red;
    QSize m_size;
    int m_scale = 0;
    bool m_shown = false;
    int m_paints = 0;
    QRegion m_painted;
    std::vector<QPointF> m_clicks;
    double m_ratio = 1;
    QRect m_frame;
};

TEST_F(X11PanelWindowTest, TheServerShowsWhatTheScenePaintedAndOnlyTheDamageIsSentAgain) {
    EXPECT_FALSE(m_shown);
    EXPECT_FALSE(m_size.isValid()) << "no scene is laid out for nobody";
    ASSERT_TRUE(showAndSettle());
    EXPECT_TRUE(m_shown);
    // Whole art pixels in the screen's own device pixels, as Qt would have sized the window.
    const QRect native = serverWindow().first;
    EXPECT_EQ(native, expectedFrame());
    EXPECT_EQ(m_scale, StripGeometry::artScale(m_ratio, native.width()));
    EXPECT_EQ(m_size * m_scale, native.size()) << "the frame holds whole art pixels";
    EXPECT_TRUE(showsAt({m_size.width() - 1, m_size.height() - 1}, Qt::red));
    EXPECT_EQ(m_painted, QRegion(QRect(QPoint(0, 0), m_size)));

    // Damage from outside a frame waits for the event loop and goes as one request.
    const std::uint64_t puts = m_window->puts();
    m_colour = Qt::blue;
    m_window->damage(QRect(10, 10, 5, 5));
    EXPECT_EQ(m_window->puts(), puts) << "not before the scene has settled";
    ASSERT_TRUE(showsAt({12, 12}, Qt::blue));
    EXPECT_EQ(m_window->puts(), puts + 1);
    EXPECT_EQ(m_painted, QRegion(QRect(10, 10, 5, 5)));
    EXPECT_EQ(pixelAt({16, 12}), QColor(Qt::red).rgb()) << "next to the damage, untouched";

    m_window->damage(QRegion());
    m_window->damage(QRect(5000, 10, 5, 5));
    QTest::qWait(20);
    EXPECT_EQ(m_window->puts(), puts + 1) << "nothing sent where nothing changed";

    // A finished frame goes at once, one request per rectangle.
    m_content.frameReady = [] { return true; };
    m_colour = Qt::green;
    m_window->damage(QRegion(QRect(40, 5, 3, 3)) + QRect(100, 30, 4, 4));
    EXPECT_EQ(m_window->puts(), puts + 3);
    EXPECT_TRUE(showsAt({41, 6}, Qt::green));
    EXPECT_TRUE(showsAt({101, 31}, Qt::green));

    // A rectangle larger than one request's copy goes in bands, all of them.
    m_colour = Qt::magenta;
    m_window->damage(QRect(1, 0, m_size.width() - 2, m_size.height()));
    EXPECT_TRUE(showsAt({m_size.width() - 2, m_size.height() - 1}, Qt::magenta));
    EXPECT_TRUE(showsAt({1, 0}, Qt::magenta));
    EXPECT_EQ(pixelAt({0, m_size.height() - 1}), QColor(Qt::red).rgb());

    // Nothing is painted or sent while hidden; what changed meanwhile is painted once shown.
    m_window->setVisible(false);
    EXPECT_FALSE(m_shown);
    const int paints = m_paints;
    const std::uint64_t hiddenPuts = m_window->puts();
    m_colour = Qt::yellow;
    m_window->damage(QRect(200, 20, 6, 6));
    QTest::qWait(50);
    EXPECT_EQ(m_paints, paints);
    EXPECT_EQ(m_window->puts(), hiddenPuts);
    m_window->setVisible(true);
    EXPECT_TRUE(showsAt({202, 22}, Qt::yellow));
    EXPECT_EQ(m_painted, QRegion(QRect(200, 20, 6, 6)));
}

TEST_F(X11PanelWindowTest, AWindowMappedAgainIsPutBackFromItsPictureWithoutPainting) {
    ASSERT_TRUE(showAndSettle());
    m_window->setVisible(false);
    QTest::qWait(20);
    const int paints = m_paints;
    const std::uint64_t puts = m_window->puts();
    m_window->setVisible(true);
    EXPECT_TRUE(showsAt({30, 30}, Qt::red));
    EXPECT_TRUE(showsAt({m_size.width() - 1, m_size.height() - 1}, Qt::red));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->puts() > puts; }, 3000)) << "the exposure was answered";
    EXPECT_EQ(m_paints, paints) << "the scene did not change";
}

TEST_F(X11PanelWindowTest, LeftClicksReachTheSceneInItsPointsUnlessTheyFallThrough) {
    ASSERT_TRUE(showAndSettle());
    m_window->setClickThrough(false);
    const std::vector<xcb_rectangle_t> whole = inputShape();
    ASSERT_EQ(whole.size(), 1U);
    EXPECT_EQ(QRect(whole[0].x, whole[0].y, whole[0].width, whole[0].height),
              QRect(QPoint(0, 0), m_window->nativeFrame().size()));

    press(QPoint(41, 23) * m_scale + QPoint(1, 0), 1);
    press(QPoint(60, 20) * m_scale, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_clicks.empty(); }, 3000));
    QTest::qWait(50);
    ASSERT_EQ(m_clicks.size(), 1U) << "only the left button";
    EXPECT_EQ(m_clicks[0], QPointF(41 + 1.0 / m_scale, 23));

    m_window->setClickThrough(true);
    EXPECT_TRUE(inputShape().empty()) << "an empty input shape: the clicks go to the window below";
    press(QPoint(41, 23) * m_scale, 1);
    QTest::qWait(50);
    EXPECT_EQ(m_clicks.size(), 1U);
}

TEST_F(X11PanelWindowTest, WhereNothingCompositesTheStripIsAnOpaqueWindowOfTheScreensDepth) {
    ASSERT_TRUE(showAndSettle());
    const auto depth = [&] { return serverWindow().second; };
    EXPECT_EQ(depth(), 32);
    EXPECT_TRUE(m_window->translucent());
    const std::uint32_t before = id();

    EXPECT_TRUE(m_window->setTranslucent(false)) << "a visual is the window's for life";
    EXPECT_FALSE(m_window->setTranslucent(false));
    EXPECT_NE(id(), before);
    EXPECT_EQ(depth(), xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root_depth);
    EXPECT_FALSE(m_window->translucent());
    EXPECT_FALSE(m_window->isVisible()) << "withdrawn until the panel shows it again";
    EXPECT_FALSE(m_shown);
    EXPECT_EQ(serverWindow().first, expectedFrame()) << "the new window where the old one was";

    m_colour = Qt::cyan;
    m_window->setVisible(true);
    EXPECT_TRUE(m_shown);
    EXPECT_TRUE(showsAt({30, 30}, Qt::cyan)) << "painted whole in the new window";
    EXPECT_TRUE(m_window->setTranslucent(true));
    EXPECT_EQ(depth(), 32);
}

TEST(X11PanelWindowFrame, AFrameMapsToDevicePixelsEndingWhereItsBottomEdgeFalls) {
    EXPECT_EQ(X11PanelWindow::toNative(QRect(587, 1008, 746, 72), QRect(0, 0, 1920, 1080), 1.0),
              QRect(587, 1008, 746, 72));
    EXPECT_EQ(X11PanelWindow::toNative(QRect(462, 984, 996, 96), QRect(0, 0, 1920, 1080), 1.5),
              QRect(693, 1476, 1494, 144));
    // Rounded apart, 1022 and 58 points would end a pixel below the screen's 1350.
    EXPECT_EQ(X11PanelWindow::toNative(QRect(662, 1022, 597, 58), QRect(0, 0, 1920, 1080), 1.25),
              QRect(828, 1277, 746, 73));
    // A second screen to the right of a 1920-pixel one, at 2.
    EXPECT_EQ(X11PanelWindow::toNative(QRect(2467, 1008, 746, 72), QRect(1920, 0, 1920, 1080), 2.0),
              QRect(3014, 2016, 1492, 144));
}

} // namespace
} // namespace pipfield
