#include "strip/StripPanel.h"

#include "game/Defaults.h"
#include "scene/OrchardView.h"
#include "strip/DesktopEvents.h"
#include "strip/PanelWindowing.h"
#include "strip/SceneContent.h"
#include "strip/Strip.h"
#include "strip/StripGeometry.h"
#include "strip/WindowList.h"
#include "support/GameTestSupport.h"
#include "support/MessageLog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace pipfield {
namespace {

class FakeDesktop final : public DesktopEvents, public WindowList, public PanelWindowing {
public:
    bool compositing() const override { return composited; }
    std::optional<std::vector<WindowEntry>> onScreenWindows() const override { return windows; }
    void makePanel(quintptr id) const override { log.push_back("panel " + std::to_string(id)); }
    void panelShown(quintptr id) const override { log.push_back("shown " + std::to_string(id)); }
    void keepAboveAll(quintptr, bool on) const override { raiseCalls += on ? 1 : 0; }
    void switchDesktop() { Q_EMIT desktopSwitched(); }
    void setCompositing(bool on) {
        composited = on;
        Q_EMIT compositingChanged(on);
    }

    bool composited = true;
    std::optional<std::vector<WindowEntry>> windows = std::vector<WindowEntry>{};
    mutable int raiseCalls = 0;
    /// The windows made panels and told they are shown, and the fake windows mapped, in order.
    mutable std::vector<std::string> log;
    /// How many of the logged calls are of a kind ("panel", "shown").
    auto calls(const std::string& kind) const {
        return std::ranges::count_if(log, [&](const std::string& entry) { return entry.starts_with(kind + ' '); });
    }
};

/// A native window whose visual is fixed for life: another one is made for the other translucency.
class FakeNativeWindow final : public PanelWindow {
public:
    explicit FakeNativeWindow(std::vector<std::string>& log) : m_log(log) {}
    void setContent(const StripSurface::Content*) override {}
    void setFrame(const QRect&, QScreen*) override {}
    void setVisible(bool visible) override {
        m_visible = visible;
        m_log.push_back((visible ? "map " : "unmap ") + std::to_string(m_id));
    }
    bool isVisible() const override { return m_visible; }
    QScreen* screen() const override { return QGuiApplication::primaryScreen(); }
    void setClickThrough(bool) override {}
    quintptr nativeId() const override { return m_id; }
    void damage(const QRegion&) override {}
    bool translucent() const override { return m_translucent; }
    bool setTranslucent(bool on) override {
        if (on == m_translucent) {
            return false;
        }
        m_translucent = on;
        m_visible = false;
        ++m_id;
        return true;
    }

private:
    std::vector<std::string>& m_log;
    quintptr m_id = 1;
    bool m_visible = false;
    bool m_translucent = true;
};

/// The panel as the program drives it: through a strip with a fresh install's settings.
class StripPanelTest : public testing::Test {
protected:
    void SetUp() override { m_world.defaults.registerDefaults(Defaults::standardDefaults()); }

    /// A strip on a panel in `native`, or in a window of Qt's, showing `content` (a label if none).
    Strip& makeStrip(std::unique_ptr<PanelWindow> native = nullptr,
                     const std::function<StripSurface::Content(StripPanel&)>& content = {}) {
        m_panel = std::make_unique<StripPanel>(m_desktop, m_desktop, &m_desktop, std::move(native));
        m_strip = std::make_unique<Strip>(
            m_world.defaults, *m_panel, content ? content(*m_panel) : StripSurface::Content::of(new QLabel("orchard")));
        return *m_strip;
    }
    QWidget& window() const { return *m_panel->window().widget(); }
    static QRect screenRect() { return QGuiApplication::primaryScreen()->geometry(); }
    void fullScreenWindow() {
        m_desktop.windows = std::vector<WindowEntry>{{WindowEntry::Kind::FullScreen, QRectF(screenRect())}};
    }

    test::GameWorld m_world{test::kNoon};
    FakeDesktop m_desktop;
    std::unique_ptr<StripPanel> m_panel;
    std::unique_ptr<Strip> m_strip;
};

TEST_F(StripPanelTest, AClickThroughPanelAtTheBottomOfThePrimaryScreenThatFollowsTheSettings) {
    Strip& strip = makeStrip();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().geometry(), StripGeometry::frameFor(QGuiApplication::primaryScreen()->availableGeometry()));
    EXPECT_EQ(strip.view()->geometry(), window().rect());
    EXPECT_GE(m_desktop.calls("panel"), 1) << "panel hints set before the first show";
    EXPECT_TRUE(window().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_EQ(window().windowTitle(), "Pipfield");

    strip.setClickThrough(false);
    EXPECT_FALSE(window().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    strip.setShown(false);
    strip.setScreenID(12345); // unplugged: the primary screen
    strip.setShown(true);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().geometry(), StripGeometry::frameFor(QGuiApplication::primaryScreen()->availableGeometry()));
    EXPECT_FALSE(window().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

TEST_F(StripPanelTest, FullScreenHidesAfterTheDelayAndShowsAgain) {
    Strip& strip = makeStrip();
    fullScreenWindow();
    m_desktop.switchDesktop();
    EXPECT_TRUE(window().isVisible()) << "the window list is read only after the transition";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window().isVisible(); }, 3000));
    EXPECT_TRUE(m_panel->fullScreenAppActive());

    const auto panelCallsBefore = m_desktop.calls("panel");
    const auto shownBefore = m_desktop.calls("shown");
    m_desktop.windows = std::vector<WindowEntry>{};
    m_desktop.switchDesktop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window().isVisible(); }, 3000));
    // A withdrawn window lost its desktop and states: given again before the map, asked for after it.
    EXPECT_GT(m_desktop.calls("panel"), panelCallsBefore);
    EXPECT_EQ(m_desktop.calls("shown"), shownBefore + 1);
    EXPECT_EQ(m_desktop.raiseCalls, 0) << "nothing to climb over while hiding is on";

    // With hiding switched off the strip stays over full-screen windows.
    fullScreenWindow();
    strip.setHideInFullScreen(false);
    EXPECT_TRUE(window().isVisible());
    const int raised = m_desktop.raiseCalls;
    EXPECT_GE(raised, 1) << "kept over the full-screen window";
    m_desktop.switchDesktop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_desktop.raiseCalls > raised; }, 3000))
        << "raised again after the stacking may have changed";
    EXPECT_TRUE(window().isVisible());
}

TEST_F(StripPanelTest, UnreadableWindowListCountsAsNoFullScreenAndIsSaidOnceWhenItLasts) {
    test::MessageLog log("pipfield.strip");
    makeStrip(); // hiding over full screen, as on a fresh install
    m_desktop.windows = std::nullopt;
    EXPECT_FALSE(m_panel->fullScreenWindowOn(QGuiApplication::primaryScreen()));
    EXPECT_FALSE(m_panel->fullScreenWindowOn(nullptr));
    m_panel->applyVisibility();
    m_panel->applyVisibility();
    EXPECT_TRUE(window().isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.warnings.isEmpty(); }, 2 * StripPanel::kWindowListGraceMs));
    m_panel->applyVisibility();
    QTest::qWait(StripPanel::kWindowListGraceMs + 200);
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].contains(QLatin1String("full-screen"))) << log.warnings[0].toStdString();
}

TEST_F(StripPanelTest, ALockedSessionTakesTheStripAwayAndUnlockingBringsBackWhatThePlayerChose) {
    Strip& strip = makeStrip();
    strip.setSessionLocked(true);
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(strip.isShown()) << "not the player's choice";
    EXPECT_TRUE(m_world.defaults.boolValue("stripShown"));
    strip.setSessionLocked(false);
    EXPECT_TRUE(window().isVisible());

    strip.setSessionLocked(true);
    strip.setShown(false);
    strip.setShown(true);
    EXPECT_FALSE(window().isVisible()) << "shown again by the player, still behind the lock";
    strip.setShown(false);
    strip.setSessionLocked(false);
    EXPECT_FALSE(window().isVisible()) << "hidden by the player, hidden after the lock";
}

TEST_F(StripPanelTest, AWindowListMissingOnlyWhileTheWindowManagerStartsIsNoFailure) {
    test::MessageLog log("pipfield.strip");
    makeStrip(); // hiding over full screen, as on a fresh install
    m_desktop.windows = std::nullopt;
    m_panel->applyVisibility();
    m_desktop.windows = std::vector<WindowEntry>{};
    QTest::qWait(StripPanel::kWindowListGraceMs + 200);
    EXPECT_TRUE(log.warnings.isEmpty()) << log.warnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(StripPanelTest, AWindowMadeAnewWhenCompositingStopsIsMadeAPanelBeforeItMapsAndOnlyIfShown) {
    auto native = std::make_unique<FakeNativeWindow>(m_desktop.log);
    PanelWindow& window = *native;
    Strip& strip = makeStrip(std::move(native));
    ASSERT_TRUE(window.isVisible());
    m_desktop.log.clear();

    m_desktop.setCompositing(false);
    EXPECT_FALSE(m_panel->composited());
    EXPECT_EQ(m_desktop.log, (std::vector<std::string>{"panel 2", "map 2", "panel 2", "shown 2"}));
    m_desktop.log.clear();
    m_desktop.setCompositing(false);
    EXPECT_TRUE(m_desktop.log.empty());

    strip.setShown(false);
    m_desktop.setCompositing(true);
    EXPECT_TRUE(m_panel->composited());
    EXPECT_FALSE(window.isVisible()) << "hidden by the player";
    m_desktop.log.clear();
    strip.setShown(true);
    EXPECT_EQ(m_desktop.log.front(), "panel 3");
    EXPECT_TRUE(window.isVisible());
}

TEST_F(StripPanelTest, WhereNothingIsBlendedTheSceneFillsTheStripWithSky) {
    const auto game = m_world.launch();
    auto* view = new OrchardView(*game);
    makeStrip(nullptr, [view](StripPanel& panel) { return sceneContent(*view, panel); });
    const auto corner = [&] { return window().grab().toImage().pixelColor(2, 2); };
    EXPECT_EQ(corner().alpha(), 0) << "the desktop shows around the art";
    m_desktop.setCompositing(false);
    const QColor sky = corner();
    const QColor top = view->skyTop();
    EXPECT_EQ(sky.alpha(), 255) << "no black around the art";
    // Two pixels down the gradient from the sky's top.
    EXPECT_LE(std::max({std::abs(sky.red() - top.red()), std::abs(sky.green() - top.green()),
                        std::abs(sky.blue() - top.blue())}),
              3);
    m_desktop.setCompositing(true);
    EXPECT_EQ(corner().alpha(), 0);
    m_strip.reset();
}

} // namespace
} // namespace pipfield
