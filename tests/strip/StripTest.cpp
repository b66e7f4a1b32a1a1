#include "strip/Strip.h"

#include "game/Defaults.h"
#include "platform/DesktopEvents.h"
#include "platform/PanelWindowing.h"
#include "platform/WindowList.h"
#include "strip/StripGeometry.h"
#include "strip/StripPanel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

class FakeDesktop final : public DesktopEvents, public WindowList, public PanelWindowing {
public:
    bool compositing() const override { return composited; }
    std::optional<std::vector<WindowEntry>> onScreenWindows() const override { return windows; }
    void makePanel(QWindow*) const override { ++panelCalls; }
    void panelShown(QWindow*) const override { ++shownCalls; }
    void keepAboveAll(QWindow*, bool on) const override { raiseCalls += on ? 1 : 0; }
    void switchDesktop() { Q_EMIT desktopSwitched(); }
    void setCompositing(bool on) {
        composited = on;
        Q_EMIT compositingChanged(on);
    }

    bool composited = true;
    std::optional<std::vector<WindowEntry>> windows = std::vector<WindowEntry>{};
    mutable int panelCalls = 0;
    mutable int shownCalls = 0;
    mutable int raiseCalls = 0;
};

class StripTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_defaults = std::make_unique<Defaults>(m_dir.filePath("Pipfield.conf"));
        m_defaults->registerDefaults(Defaults::standardDefaults());
    }

    std::unique_ptr<Strip> makeStrip() {
        return std::make_unique<Strip>(*m_defaults, m_desktop, m_desktop, &m_desktop, new QLabel("orchard"));
    }

    QRect screenRect() const { return QGuiApplication::primaryScreen()->geometry(); }

    QTemporaryDir m_dir;
    std::unique_ptr<Defaults> m_defaults;
    FakeDesktop m_desktop;
};

TEST_F(StripTest, FreshInstallIsShownClickThroughAndHiddenInFullScreen) {
    const auto strip = makeStrip();
    EXPECT_TRUE(strip->isShown());
    EXPECT_TRUE(strip->clickThrough());
    EXPECT_TRUE(strip->hideInFullScreen());
    EXPECT_EQ(strip->screenID(), 0);
    EXPECT_TRUE(strip->panel().isVisible());
    EXPECT_EQ(strip->panel().geometry(),
              StripGeometry::frameFor(QGuiApplication::primaryScreen()->availableGeometry()));
    EXPECT_EQ(strip->view()->geometry(), strip->panel().rect());
    EXPECT_GE(m_desktop.panelCalls, 1) << "panel hints set before the first show";
    EXPECT_TRUE(strip->panel().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_EQ(strip->panel().windowTitle(), "Pipfield");
}

TEST_F(StripTest, SettingsAreRememberedAndTakeEffect) {
    {
        const auto strip = makeStrip();
        QSignalSpy shown(strip.get(), &Strip::isShownChanged);
        strip->setClickThrough(false);
        EXPECT_FALSE(strip->panel().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
        strip->setShown(false);
        EXPECT_FALSE(strip->panel().isVisible());
        strip->setShown(false);
        EXPECT_EQ(shown.count(), 1) << "an equal value notifies nobody";
        strip->setHideInFullScreen(false);
        strip->setScreenID(12345); // unplugged: falls back to the primary screen
        EXPECT_EQ(strip->panel().geometry(),
                  StripGeometry::frameFor(QGuiApplication::primaryScreen()->availableGeometry()));
    }
    Defaults reread(m_dir.filePath("Pipfield.conf"));
    reread.registerDefaults(Defaults::standardDefaults());
    EXPECT_FALSE(reread.boolValue("clickThrough"));
    EXPECT_FALSE(reread.boolValue("stripShown"));
    EXPECT_FALSE(reread.boolValue("hideInFullScreen"));
    EXPECT_EQ(reread.integer("screenID"), 12345);
    const auto again = makeStrip();
    EXPECT_FALSE(again->isShown());
    EXPECT_FALSE(again->panel().isVisible());
    again->setShown(true);
    EXPECT_TRUE(again->panel().isVisible());
    EXPECT_FALSE(again->panel().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

TEST_F(StripTest, FullScreenHidesAfterTheDelayAndShowsAgain) {
    const auto strip = makeStrip();
    ASSERT_TRUE(strip->panel().isVisible());
    m_desktop.windows = std::vector<WindowEntry>{{WindowEntry::Kind::FullScreen, QRectF(screenRect())}};
    m_desktop.switchDesktop();
    EXPECT_TRUE(strip->panel().isVisible()) << "the window list is read only after the transition";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !strip->panel().isVisible(); }, 3000));
    EXPECT_TRUE(strip->fullScreenAppActive());

    const int panelCallsBefore = m_desktop.panelCalls;
    const int shownBefore = m_desktop.shownCalls;
    m_desktop.windows = std::vector<WindowEntry>{};
    m_desktop.switchDesktop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip->panel().isVisible(); }, 3000));
    // A withdrawn window lost its desktop and states: given again before the map, asked for after it.
    EXPECT_GT(m_desktop.panelCalls, panelCallsBefore);
    EXPECT_EQ(m_desktop.shownCalls, shownBefore + 1);
    EXPECT_EQ(m_desktop.raiseCalls, 0) << "nothing to climb over while hiding is on";

    // With hiding switched off the strip stays over full-screen windows.
    m_desktop.windows = std::vector<WindowEntry>{{WindowEntry::Kind::FullScreen, QRectF(screenRect())}};
    strip->setHideInFullScreen(false);
    EXPECT_TRUE(strip->panel().isVisible());
    const int raised = m_desktop.raiseCalls;
    EXPECT_GE(raised, 1) << "kept over the full-screen window";
    m_desktop.switchDesktop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_desktop.raiseCalls > raised; }, 3000))
        << "raised again after the stacking may have changed";
    EXPECT_TRUE(strip->panel().isVisible());
    strip->setShown(false);
    EXPECT_FALSE(strip->panel().isVisible());
}

TEST_F(StripTest, UnreadableWindowListCountsAsNoFullScreen) {
    const auto strip = makeStrip();
    m_desktop.windows = std::nullopt;
    EXPECT_FALSE(strip->fullScreenWindowOn(QGuiApplication::primaryScreen()));
    EXPECT_FALSE(strip->fullScreenWindowOn(nullptr));
}

TEST_F(StripTest, TellsItsContentWhenNothingIsBlendedAndPaintsNothingItself) {
    const auto strip = makeStrip();
    QSignalSpy told(&strip->panel(), &StripPanel::compositedChanged);
    strip->view()->hide(); // look at the panel's own background
    const auto corner = [&] { return strip->panel().grab().toImage().pixelColor(2, 2); };
    EXPECT_TRUE(strip->panel().composited());
    m_desktop.setCompositing(false);
    EXPECT_FALSE(strip->panel().composited());
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0][0].toBool(), false);
    EXPECT_EQ(corner().alpha(), 0) << "the content fills the strip, not the panel";
    m_desktop.setCompositing(false);
    EXPECT_EQ(told.size(), 1) << "no news, no signal";
    m_desktop.setCompositing(true);
    ASSERT_EQ(told.size(), 2);
    EXPECT_EQ(told[1][0].toBool(), true);
}

} // namespace
} // namespace pipfield
