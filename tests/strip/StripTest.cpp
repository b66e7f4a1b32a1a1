#include "strip/Strip.h"

#include "game/Defaults.h"
#include "platform/DesktopEvents.h"
#include "platform/NoDesktop.h"
#include "platform/PanelWindowing.h"
#include "platform/StripSurface.h"
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

/// The standard settings in a file of a temporary folder, as a fresh install has them.
class StripSettings : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_defaults = std::make_unique<Defaults>(m_dir.filePath("Pipfield.conf"));
        m_defaults->registerDefaults(Defaults::standardDefaults());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Defaults> m_defaults;
};

class StripTest : public StripSettings {
protected:
    std::unique_ptr<Strip> makeStrip() {
        return std::make_unique<Strip>(*m_defaults, m_desktop, m_desktop, &m_desktop, new QLabel("orchard"));
    }

    QRect screenRect() const { return QGuiApplication::primaryScreen()->geometry(); }

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

// A compositor's surface that records what it was asked for.
class FakeSurface final : public StripSurface {
public:
    std::vector<Output> outputs() const override { return list; }
    void place(const QString& outputName, QSize newSize) override {
        output = outputName;
        size = newSize;
        ++placements;
    }
    void setShown(bool on) override { shown = on; }
    void setClickThrough(bool on) override { clickThrough = on; }
    void setAboveFullScreen(bool on) override { aboveFullScreen = on; }
    void setContent(Content) override {}
    int scale() const override { return 1; }
    void damage(const QRegion&) override {}

    void plug(Output added) {
        list.push_back(std::move(added));
        Q_EMIT outputsChanged();
    }
    void unplug(const QString& name) {
        std::erase_if(list, [&](const Output& o) { return o.name == name; });
        Q_EMIT outputsChanged();
    }

    std::vector<Output> list{{"HEADLESS-1", "Headless output 1", QSize(1920, 1080)}};
    QString output = "unset";
    QSize size;
    int placements = 0;
    bool shown = false;
    bool clickThrough = false;
    bool aboveFullScreen = true;
};

class StripOnSurfaceTest : public StripSettings {
protected:
    std::unique_ptr<Strip> makeStrip() {
        return std::make_unique<Strip>(*m_defaults, m_desktop, m_desktop, nullptr, new QLabel("orchard"), &m_surface);
    }

    static std::uint32_t number(const QString& name, const QString& description) {
        return StripGeometry::displayNumber(name, description);
    }

    NoDesktop m_desktop;
    FakeSurface m_surface;
};

TEST_F(StripOnSurfaceTest, FreshInstallShowsAClickThroughStripUnderFullScreenOnThePreferredOutput) {
    const auto strip = makeStrip();
    EXPECT_TRUE(m_surface.shown);
    EXPECT_TRUE(m_surface.clickThrough);
    EXPECT_FALSE(m_surface.aboveFullScreen) << "full-screen windows cover the strip";
    EXPECT_EQ(m_surface.output, QString()) << "no choice: the compositor's preferred output";
    EXPECT_EQ(m_surface.size, QSize(746, 72));
    EXPECT_FALSE(strip->panel().isVisible()) << "the panel only holds the scene";
    EXPECT_FALSE(strip->panel().testAttribute(Qt::WA_WState_Created)) << "no window of Qt's own for the strip";
}

TEST_F(StripOnSurfaceTest, TogglesReachTheSurfaceAtOnceAndAreRemembered) {
    {
        const auto strip = makeStrip();
        strip->setClickThrough(false);
        EXPECT_FALSE(m_surface.clickThrough);
        strip->setHideInFullScreen(false);
        EXPECT_TRUE(m_surface.aboveFullScreen);
        strip->setShown(false);
        EXPECT_FALSE(m_surface.shown);
        strip->setShown(true);
        EXPECT_TRUE(m_surface.shown);
        strip->setHideInFullScreen(true);
        EXPECT_FALSE(m_surface.aboveFullScreen);
        EXPECT_TRUE(m_surface.shown);
        strip->setShown(false);
    }
    m_surface.shown = true;
    m_surface.clickThrough = true;
    const auto again = makeStrip();
    EXPECT_FALSE(m_surface.shown);
    EXPECT_FALSE(m_surface.clickThrough);
}

TEST_F(StripOnSurfaceTest, ScreenIDChoosesTheOutputAndANarrowOneNarrowsTheStrip) {
    const auto strip = makeStrip();
    m_surface.plug({"HEADLESS-2", "Headless output 2", QSize(600, 400)});
    EXPECT_EQ(m_surface.output, QString()) << "no choice made yet";
    strip->setScreenID(number("HEADLESS-2", "Headless output 2"));
    EXPECT_EQ(m_surface.output, "HEADLESS-2");
    EXPECT_EQ(m_surface.size, QSize(600, 72));
    strip->setScreenID(number("HEADLESS-1", "Headless output 1"));
    EXPECT_EQ(m_surface.output, "HEADLESS-1");
    EXPECT_EQ(m_surface.size, QSize(746, 72));
    // A number of no output (a monitor not plugged in) leaves the choice to the compositor.
    strip->setScreenID(12345);
    EXPECT_EQ(m_surface.output, QString());
}

TEST_F(StripOnSurfaceTest, FollowsTheChosenOutputAsItComesAndGoes) {
    m_defaults->setValue("screenID", qint64(number("HEADLESS-2", "Headless output 2")));
    const auto strip = makeStrip();
    EXPECT_EQ(m_surface.output, QString()) << "the chosen output is not there yet";
    m_surface.plug({"HEADLESS-2", "Headless output 2", QSize(1280, 720)});
    EXPECT_EQ(m_surface.output, "HEADLESS-2");
    m_surface.unplug("HEADLESS-2");
    EXPECT_EQ(m_surface.output, QString());
    EXPECT_TRUE(m_surface.shown);
    EXPECT_EQ(strip->screenID(), number("HEADLESS-2", "Headless output 2")) << "the choice is kept for its return";
}

TEST_F(StripOnSurfaceTest, SettingsOfferTheOutputsByDescription) {
    m_surface.list.push_back({"DP-1", "", QSize(2560, 1440)});
    const auto strip = makeStrip();
    const auto screens = strip->screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].id, number("HEADLESS-1", "Headless output 1"));
    EXPECT_EQ(screens[0].name, "Headless output 1");
    EXPECT_EQ(screens[1].id, number("DP-1", ""));
    EXPECT_EQ(screens[1].name, "DP-1") << "without a description the name is shown";
}

TEST_F(StripOnSurfaceTest, NoOutputsYetStillGivesAFullSizeStrip) {
    m_surface.list.clear();
    const auto strip = makeStrip();
    EXPECT_EQ(m_surface.size, QSize(746, 72));
    EXPECT_TRUE(m_surface.shown) << "the surface shows it once an output comes";
}

} // namespace
} // namespace pipfield
