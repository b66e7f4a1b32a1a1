#include "strip/Strip.h"

#include "game/Defaults.h"
#include "strip/StripSurface.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

// A surface that records what it was asked, in order.
class FakeSurface final : public StripSurface {
public:
    std::vector<Screen> screens() const override { return {}; }
    void place(qint64 screenID) override { said("place " + QString::number(screenID)); }
    void setShown(bool on) override { said(on ? "shown" : "hidden"); }
    void setClickThrough(bool on) override { said(on ? "click-through" : "clickable"); }
    void setAboveFullScreen(bool on) override { said(on ? "above full screen" : "under full screen"); }
    void setContent(Content) override { said("content"); }
    bool composited() const override { return true; }
    void damage(const QRegion&) override {}

    void said(const QString& what) { asked.append(what); }
    void plug() { Q_EMIT outputsChanged(); }

    QStringList asked;
};

class StripTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::unique_ptr<Defaults> settings() const {
        auto defaults = std::make_unique<Defaults>(m_dir.filePath("Pipfield.conf"));
        defaults->registerDefaults(Defaults::standardDefaults());
        return defaults;
    }
    std::unique_ptr<Strip> makeStrip(Defaults& defaults) {
        m_surface.asked.clear();
        return std::make_unique<Strip>(defaults, m_surface, StripSurface::Content::of(new QLabel("orchard")));
    }

    QTemporaryDir m_dir;
    FakeSurface m_surface;
};

TEST_F(StripTest, AFreshInstallsSettingsReachTheSurfaceFirstAndChangesAtOnceAndAreRemembered) {
    {
        const auto defaults = settings();
        const auto strip = makeStrip(*defaults);
        // A click-through strip that full-screen windows hide: the surface knows everything about it before it is
        // asked to show it.
        EXPECT_EQ(m_surface.asked, QStringList({"content", "click-through", "under full screen", "place 0", "shown"}));
        QSignalSpy shown(strip.get(), &Strip::isShownChanged);
        m_surface.asked.clear();
        strip->setClickThrough(false);
        strip->setHideInFullScreen(false);
        strip->setShown(false);
        strip->setShown(false);
        strip->setScreenID(12345);
        m_surface.plug();
        EXPECT_EQ(m_surface.asked,
                  QStringList({"clickable", "above full screen", "hidden", "hidden", "place 12345", "place 12345"}))
            << "placed again on the chosen screen when screens change";
        EXPECT_EQ(shown.count(), 1) << "an equal value notifies nobody";
    }
    const auto reread = settings();
    EXPECT_FALSE(reread->boolValue("clickThrough"));
    EXPECT_FALSE(reread->boolValue("stripShown"));
    EXPECT_FALSE(reread->boolValue("hideInFullScreen"));
    EXPECT_EQ(reread->integer("screenID"), 12345);
    const auto again = makeStrip(*reread);
    EXPECT_EQ(m_surface.asked, QStringList({"content", "clickable", "above full screen", "place 12345", "hidden"}));
}

} // namespace
} // namespace pipfield
