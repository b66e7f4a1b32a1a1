#include "app/TrayMenu.h"

#include "app/AppModel.h"
#include "platform/NoDesktop.h"
#include "strip/Strip.h"
#include "strip/StripPanel.h"
#include "support/GameTestSupport.h"

#include <QLabel>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

using namespace pipfield::test;

class TrayMenuTest : public testing::Test {
protected:
    void start(const Orchard& orchard) {
        AppModel::registerDefaults(m_world.defaults);
        m_world.seed(orchard, m_world.clock.now());
        m_game = m_world.launch();
        m_strip = std::make_unique<Strip>(m_world.defaults, m_panel, StripSurface::Content::of(new QLabel));
        m_menu = std::make_unique<TrayMenu>(
            *m_game, *m_strip, [this] { ++m_opened; }, [this] { ++m_quits; });
    }

    GameWorld m_world{localInstant(2026, 7, 14, 12)};
    NoDesktop m_desktop;
    StripPanel m_panel{m_desktop, m_desktop, nullptr};
    std::unique_ptr<Game> m_game;
    std::unique_ptr<Strip> m_strip;
    std::unique_ptr<TrayMenu> m_menu;
    int m_opened = 0;
    int m_quits = 0;
};

TEST_F(TrayMenuTest, TheIconIsWholeAtSixteenPixels) {
    start(Orchard::starter());
    const QImage small = m_menu->icon().icon().pixmap(QSize(16, 16)).toImage();
    const QImage art = m_menu->icon().icon().pixmap(QSize(22, 22)).toImage();
    ASSERT_EQ(small.size(), QSize(16, 16));
    QSet<QRgb> artColours;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            artColours.insert(art.pixel(x, y));
        }
    }
    QRect opaque;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            opaque |= small.pixelColor(x, y).alpha() == 255 ? QRect(x, y, 1, 1) : QRect();
            // Every pixel is one of the art's colours: shrunk without smoothing.
            const QRgb pixel = small.pixel(x, y);
            EXPECT_TRUE(qAlpha(pixel) == 0 || artColours.contains(pixel)) << "a blended colour at " << x << "," << y;
        }
    }
    // The art has a transparent column at each side; a lemon cut to fit would touch both edges.
    EXPECT_GT(opaque.left(), 0);
    EXPECT_LT(opaque.right(), 15);
    EXPECT_GE(opaque.width(), 13) << "shrunk no more than needed";
}

TEST_F(TrayMenuTest, SellingThroughTheMenuEmptiesTheAlmostFullCrateAndAnEmptyCrateCannotBeSold) {
    Orchard o = Orchard::starter();
    o.crate.set(TreeKind::eureka, 32); // 80 % of 40
    o.coins = 1250;
    start(o);
    EXPECT_EQ(m_menu->infoAction().text(), "창고 32/40 · 코인 1250");
    // Summer: 32 lemons of 2 coins, times 1.2.
    EXPECT_EQ(m_menu->sellAction().text(), "모두 팔기 (+77)");
    EXPECT_EQ(m_menu->icon().toolTip(), "창고가 거의 찼어요");
    ASSERT_TRUE(m_menu->sellAction().isEnabled());
    EXPECT_EQ(m_menu->sellAction().shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_menu->sellAction().trigger();
    EXPECT_EQ(m_menu->infoAction().text(), "창고 0/40 · 코인 1327");
    EXPECT_FALSE(m_menu->infoAction().isEnabled());
    EXPECT_EQ(m_menu->sellAction().text(), "모두 팔기 (+0)");
    EXPECT_FALSE(m_menu->sellAction().isEnabled());
    EXPECT_EQ(m_menu->icon().toolTip(), "핍필드");
}

TEST_F(TrayMenuTest, SwitchesAreBoundToTheStripAndQuitSavesFirst) {
    start(Orchard::starter());
    EXPECT_TRUE(m_menu->clickThroughAction().isChecked());
    EXPECT_TRUE(m_menu->stripShownAction().isChecked());
    m_menu->stripShownAction().trigger();
    EXPECT_FALSE(m_strip->isShown());
    EXPECT_FALSE(m_panel.window().isVisible());
    m_strip->setClickThrough(false);
    EXPECT_FALSE(m_menu->clickThroughAction().isChecked());
    m_menu->manageAction().trigger();
    EXPECT_EQ(m_opened, 1);

    m_world.clock.advance(20); // a tick would not save yet: less than 30 seconds since the last save
    m_game->tick(m_world.clock.now());
    m_menu->quitAction().trigger();
    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(m_world.saved()->lastUpdated, referenceSeconds(m_world.clock.now()));
}

TEST(AppDefaults, RegisteredOnceWithoutOverwritingThePosition) {
    QTemporaryDir dir;
    Defaults defaults(dir.filePath("Pipfield.conf"));
    AppModel::registerDefaults(defaults);
    // The standard table is registered; its values are the settings' own tests' to pin.
    EXPECT_TRUE(defaults.boolValue("clickThrough"));
    EXPECT_FALSE(defaults.boolValue("hasLaunched"));
    EXPECT_EQ(defaults.integer("NSStatusItem Preferred Position Item-0"), 330);
    defaults.setValue("NSStatusItem Preferred Position Item-0", 512);
    AppModel::registerDefaults(defaults);
    EXPECT_EQ(defaults.integer("NSStatusItem Preferred Position Item-0"), 512);
}

} // namespace
} // namespace pipfield
