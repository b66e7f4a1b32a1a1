#include "manage/Header.h"

#include "kit/TextStyle.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/CrateGauge.h"
#include "manage/Label.h"
#include "support/ManageTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

Orchard withCrate(std::int64_t count, std::int64_t coins = 10) {
    Orchard o = idleOrchard(coins);
    o.crate.set(TreeKind::eureka, count);
    return o;
}

TEST(Header, GaugeDrawsItsShareFullOverCapacityAndTellsTheTrueCount) {
    ManageWorld world(withCrate(55));
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    EXPECT_EQ(header.crateText()->text(), QStringLiteral("55 / 40"));
    EXPECT_DOUBLE_EQ(header.gauge()->fraction(), 1.0);
    EXPECT_EQ(header.gauge()->accessibleDescription(), QStringLiteral("40개 중 55개"));
    ManageWorld part(withCrate(10));
    EXPECT_DOUBLE_EQ(Header(*part.game, part.sprites).gauge()->fraction(), 0.25);

    CrateGauge gauge;
    gauge.setFill(55, 40);
    gauge.resize(200, 8);
    const QImage pixels = gauge.grab().toImage();
    // The bar reaches the track's end.
    EXPECT_EQ(pixels.pixelColor(195, 4).rgb(), leafColor().rgb());
}

TEST(Header, SellButtonAndCtrlSSellTheCrate) {
    ManageWorld world(withCrate(20));
    auto window = world.window();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Header& header = *window->header();
    EXPECT_TRUE(header.sellButton()->isEnabled());
    const std::int64_t value = world.game->orchard().crateValue(world.game->season());
    ASSERT_GT(value, 0);

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(world.game->saleCount(), 1);
    EXPECT_EQ(world.game->orchard().coins, 10 + value);
    EXPECT_EQ(world.game->orchard().crateCount(), 0);
    EXPECT_FALSE(header.sellButton()->isEnabled());
    EXPECT_EQ(world.savedOrchard()->coins, 10 + value);
}

TEST(Header, AnEmptyCrateCannotBeSoldAndCoinsAreShortenedButSpokenInFull) {
    ManageWorld world(withCrate(0, 9999));
    Header header(*world.game, world.sprites);
    EXPECT_FALSE(header.sellButton()->isEnabled());
    EXPECT_EQ(header.sellButton()->text(), QStringLiteral("모두 팔기 +0"));
    EXPECT_EQ(header.coins()->text(), QStringLiteral("9,999"));
    EXPECT_EQ(header.coins()->accessibleName(), QStringLiteral("코인 9999"));
    header.coins()->setAmount(10000);
    EXPECT_EQ(header.coins()->text(), QStringLiteral("1만"));
    EXPECT_EQ(header.coins()->accessibleName(), QStringLiteral("코인 10000"));
}

TEST(Header, WelcomeBackShowsOverTheArtUntilTheNextSale) {
    ManageWorld world(withCrate(10));
    Header header(*world.game, world.sprites);
    header.resize(600, header.sizeHint().height());
    const QImage before = header.grab().toImage();
    EXPECT_TRUE(header.welcome()->isHidden());

    // Away for an hour while the program slept: nobody to pick, the crate as it was.
    world.clock.advance(3600);
    world.game->tick(world.clock.now());
    EXPECT_EQ(header.welcome()->text(), QStringLiteral("그동안 딴 열매는 없고, 창고에 10개가 있어요"));
    EXPECT_EQ(header.welcome()->accessibleName(), header.welcome()->text());
    const QImage told = header.grab().toImage();
    EXPECT_EQ(told.size(), before.size()) << "the header keeps its height";
    // A dark band across the bottom of the art, with the light text on it; the row below is untouched.
    const qreal ratio = told.devicePixelRatio();
    const QPoint band = (QPointF(8, 112) * ratio).toPoint();
    EXPECT_LT(QColor(told.pixel(band)).lightness(), 90);
    EXPECT_GT(QColor(before.pixel(band)).lightness(), 90);
    const int below = qRound(125 * ratio);
    EXPECT_EQ(told.copy(0, below, told.width(), told.height() - below),
              before.copy(0, below, before.width(), before.height() - below));

    world.clock.advance(5);
    world.game->tick(world.clock.now());
    EXPECT_FALSE(header.welcome()->isHidden()) << "a short tick leaves it";
    header.sellButton()->click();
    EXPECT_TRUE(header.welcome()->isHidden());
    EXPECT_EQ(QColor(header.grab().toImage().pixel(band)).lightness(), QColor(before.pixel(band)).lightness());
}

} // namespace
} // namespace pipfield::test
