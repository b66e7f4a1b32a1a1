#include "game/Defaults.h"
#include "platform/NoDesktop.h"
#include "platform/StripSurface.h"
#include "strip/Strip.h"
#include "strip/StripGeometry.h"
#include "strip/StripPanel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

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

class StripOnSurfaceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_defaults = std::make_unique<Defaults>(m_dir.filePath("Pipfield.conf"));
        m_defaults->registerDefaults(Defaults::standardDefaults());
    }

    std::unique_ptr<Strip> makeStrip() {
        return std::make_unique<Strip>(*m_defaults, m_desktop, m_desktop, nullptr, new QLabel("orchard"), &m_surface);
    }

    static std::uint32_t number(const QString& name, const QString& description) {
        return StripGeometry::displayNumber(name, description);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Defaults> m_defaults;
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
