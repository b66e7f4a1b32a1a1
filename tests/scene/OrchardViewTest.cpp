#include "scene/OrchardView.h"

#include "SceneTestSupport.h"
#include "model/Balance.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <cmath>

using namespace pipfield;
using namespace pipfield::test;

namespace {

std::vector<Tree> trees(std::size_t n) {
    return std::vector<Tree>(n, mature(TreeKind::eureka));
}

TEST(OrchardViewLayout, ContentIsCentredNeverCloserThanEightPointsAndANarrowViewStaysEmpty) {
    SceneWorld scene(bareOrchard(trees(2)), {300, 72});
    scene.view->sync();
    EXPECT_TRUE(scene.view->trees().empty()) << "too narrow for the orchard";
    EXPECT_TRUE(scene.view->crate().shown().isEmpty());
    scene.view->setFrameSize({1000, 72});
    EXPECT_EQ(scene.view->originX(), 138);
    EXPECT_EQ(scene.view->crate().shown(), "crate-0") << "widened: the orchard appears";
    EXPECT_EQ(scene.view->crate().layer()->position(), QPointF(168, 4));
    EXPECT_EQ(scene.view->trees()[1].layer->position(), QPointF(138 + 210, 6));
    scene.view->setFrameSize({724, 72});
    EXPECT_EQ(scene.view->originX(), 8);
    scene.view->setFrameSize({500, 72});
    EXPECT_EQ(scene.view->originX(), 8);
}

TEST(OrchardViewLayout, GroundStopsAtNinePlotsWhileTheTenthTreeStandsBeyond) {
    SceneWorld scene(bareOrchard(trees(10)));
    const double origin = scene.view->originX();
    const auto& ground = scene.view->backdrop().ground();
    EXPECT_EQ(ground->position().x(), origin - 6);
    EXPECT_EQ(ground->bounds().width(), 730);
    EXPECT_EQ(ground->children().size(), 23u) << "32-point tiles until the width is covered";
    EXPECT_TRUE(ground->children()[1]->flipped());
    EXPECT_EQ(ground->children()[1]->frame(), QRectF(32, 0, 32, 8)) << "a mirrored tile still covers its own span";
    EXPECT_EQ(scene.view->trees()[9].layer->position().x(), origin + 690);
}

TEST(OrchardViewLayout, SpringDecorationsBetweenEveryThirdPairOfTrees) {
    SceneWorld scene(bareOrchard(trees(9)));
    const double origin = scene.view->originX();
    std::vector<double> xs;
    for (const auto& piece : scene.view->backdrop().decor()->children()) {
        xs.push_back(piece->position().x() - origin);
    }
    EXPECT_EQ(xs, (std::vector<double>{100, 300, 480, 150 + 540 + 34 - 14}));
}

TEST(OrchardViewCrate, FillFollowsTheShareOfCapacityAndAFullCrateSparkles) {
    const std::int64_t capacity = Balance::crateCapacity(0);
    const auto threshold = static_cast<std::int64_t>(std::ceil(0.7 * static_cast<double>(capacity)));
    const auto crateWith = [](std::int64_t count) { return withCrate(bareOrchard(trees(1)), count); };
    EXPECT_EQ(SceneWorld(crateWith(threshold - 1)).view->crate().shown(), "crate-1");
    SceneWorld seventy(crateWith(threshold));
    EXPECT_EQ(seventy.view->crate().shown(), "crate-2");
    EXPECT_FALSE(seventy.view->crate().sparkle());

    SceneWorld full(crateWith(capacity));
    ASSERT_TRUE(full.view->crate().sparkle());
    const Layer& sparkle = *full.view->crate().sparkle();
    EXPECT_EQ(sparkle.parent(), full.view->crate().layer().get());
    const double left = sparkle.position().x() - sparkle.anchor().x() * sparkle.bounds().width();
    EXPECT_EQ(left, std::round(left)) << "on whole pixels, where a paint copies it";
    full.game->sellAll();
    full.view->sync();
    EXPECT_FALSE(full.view->crate().sparkle());
    EXPECT_EQ(full.view->crate().shown(), "crate-0");
}

TEST(OrchardViewCrate, ThePowerSaverTakesAFullCratesSparkleAwayAndGivesItBackButReducedMotionLeavesIt) {
    SceneWorld scene(withCrate(bareOrchard(trees(1)), Balance::crateCapacity(0)));
    scene.view->setOnScreen(true);
    ASSERT_TRUE(scene.view->crate().sparkle());
    scene.settings().setDesktopPowerSaver(true);
    EXPECT_FALSE(scene.view->crate().sparkle());
    scene.settings().setDesktopPowerSaver(false);
    EXPECT_TRUE(scene.view->crate().sparkle());

    scene.settings().setDesktopReducesMotion(true);
    EXPECT_TRUE(scene.view->crate().sparkle()) << "a burst that has begun goes on";
    scene.settings().setDesktopPowerSaver(true);
    EXPECT_TRUE(scene.view->crate().sparkle()) << "reduced motion outranks the power saver";
}

TEST(OrchardViewTrees, SparklesOnlyWhenATreeReallyGrows) {
    Tree young{TreeKind::eureka, 299, 0, 0};
    SceneWorld scene(bareOrchard({young}));
    EXPECT_EQ(scene.view->trees()[0].shown, (PlantedTree::Shown{TreeKind::eureka, TreeStage::sapling}));

    scene.world.clock.advance(10);
    scene.game->tick(scene.world.clock.now());
    scene.view->sync();
    EXPECT_EQ(scene.view->trees()[0].shown, (PlantedTree::Shown{TreeKind::eureka, TreeStage::mature}));
    EXPECT_EQ(scene.effects("anim"), 1u) << "matured";
}

TEST(OrchardViewTrees, OnScreenEachTickOfTheGameShowsAndOffScreenNoneUntilTheWayBack) {
    SceneWorld scene(withCrate(bareOrchard({Tree{TreeKind::eureka, 299, 0, 0}}), 5));
    scene.view->setOnScreen(true);
    scene.view->setOnScreen(false);
    scene.world.clock.advance(10);
    scene.game->tick(scene.world.clock.now());
    ASSERT_TRUE(scene.view->trees()[0].shown);
    EXPECT_EQ(scene.view->trees()[0].shown->stage, TreeStage::sapling) << "nobody is looking";
    scene.view->setOnScreen(true);
    EXPECT_EQ(scene.view->trees()[0].shown->stage, TreeStage::mature) << "caught up on the way back";

    scene.game->sellAll();
    EXPECT_EQ(scene.effects("burst"), 0u);
    scene.game->tick(scene.world.clock.now());
    EXPECT_GT(scene.effects("burst"), 0u) << "the tick alone shows the sale";
}

TEST(OrchardViewNight, ThePaintedSkyFillsTheViewUnderTheArtAndDarkensWithTheScene) {
    SceneWorld scene(bareOrchard(trees(2)));
    const QPoint corner(1, 1);
    scene.view->setPaintsSky(true);
    EXPECT_EQ(qAlpha(scene.painted().pixel(corner)), 0) << "a strip that starts hidden draws no sky";
    scene.view->setPaintsSky(false);
    scene.view->show();
    const QColor noonTop = scene.view->skyTop();
    EXPECT_EQ(noonTop, QColor(0x9f, 0xd4, 0xf2));
    const QImage bare = scene.painted();
    EXPECT_EQ(qAlpha(bare.pixel(corner)), 0) << "no sky unless asked: the desktop shows through";

    scene.view->setPaintsSky(true);
    const QImage noon = scene.painted();
    EXPECT_GT(noon.pixelColor(corner.x(), noon.height() - 20).green(), noonTop.green()) << "lighter downwards";
    // No pixel is left to show black, and the art stands on the sky: wherever the bare scene shows
    // something opaque, it shows the same.
    int art = 0;
    for (int y = 0; y < noon.height(); ++y) {
        for (int x = 0; x < noon.width(); ++x) {
            ASSERT_EQ(qAlpha(noon.pixel(x, y)), 255) << "a pixel left to show black at " << x << "," << y;
            if (qAlpha(bare.pixel(x, y)) == 255) {
                ASSERT_EQ(noon.pixel(x, y), bare.pixel(x, y)) << x << "," << y;
                ++art;
            }
        }
    }
    EXPECT_GT(art, 1000);

    scene.settings().setHourOverride(22);
    scene.view->sync();
    const QColor night = scene.painted().pixelColor(corner);
    // Dimmed the way the orchard is: red and green well down, blue kept.
    EXPECT_LT(night.red(), noonTop.red() * 2 / 3);
    EXPECT_LT(night.green(), noonTop.green() * 3 / 4);
    EXPECT_GE(night.blue(), noonTop.blue() * 9 / 10);

    scene.view->hide();
    EXPECT_EQ(qAlpha(scene.painted().pixel(corner)), 0) << "a hidden strip holds no sky";
    scene.view->show();
    EXPECT_EQ(qAlpha(scene.painted().pixel(corner)), 255);

    scene.view->setPaintsSky(false);
    EXPECT_EQ(qAlpha(scene.painted().pixel(corner)), 0);
}

TEST(OrchardViewClicks, PickingSevenFliesFiveAndPickingOneFliesOne) {
    Orchard o = bareOrchard({mature(TreeKind::meyer, 7), mature(TreeKind::meyer, 1)});
    SceneWorld scene(o);
    scene.clock.advance(2);
    const double origin = scene.view->originX();
    scene.view->clickAt({origin + 150, 10});
    EXPECT_EQ(scene.game->orchard().trees[0].fruit, 0);
    EXPECT_EQ(scene.effects("fly"), 5u);
    scene.clock.advance(2);
    scene.view->clickAt({origin + 210, 10});
    EXPECT_EQ(scene.effects("fly"), 1u);
    scene.view->clickAt({origin + 150, 10});
    EXPECT_EQ(scene.effects("fly"), 1u) << "an empty tree flies nothing";
}

TEST(OrchardViewClicks, ReducedMotionSellsAndPicksWithoutEffects) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 3)}), 5));
    scene.settings().holdStill();
    scene.clock.advance(2);
    const double origin = scene.view->originX();
    scene.view->clickAt({origin + 150, 10});
    EXPECT_EQ(scene.game->orchard().crateCount(), 8);
    scene.view->clickAt({origin + 30, 10});
    EXPECT_EQ(scene.game->saleCount(), 1);
    EXPECT_EQ(scene.effects(), 0u);
}

TEST(OrchardViewClicks, TwoSalesWithinATickBurstOnce) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 3)}), 5));
    scene.clock.advance(2);
    scene.game->sellAll();
    scene.game->harvest(0);
    scene.game->sellAll();
    scene.view->sync();
    EXPECT_EQ(scene.effects("burst"), 6u);
    scene.view->sync();
    EXPECT_EQ(scene.effects("burst"), 6u);
}

TEST(OrchardViewClicks, TheCrateWinsOverAnOverlappingTree) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 3)}), 5), {746, 72}, sceneArt(400));
    const QPointF crate(scene.view->originX() + 30, 10);
    ASSERT_TRUE(scene.view->trees()[0].layer->frame().contains(crate));
    scene.view->clickAt(crate);
    EXPECT_EQ(scene.game->saleCount(), 1);
    EXPECT_EQ(scene.game->orchard().trees[0].fruit, 3);
}

TEST(OrchardViewAccessibility, TheStripIsOneNamedPicture) {
    SceneWorld scene(bareOrchard(trees(1)));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(scene.view.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Graphic);
    EXPECT_EQ(face->text(QAccessible::Name), QString("레몬 과수원"));
}

TEST(OrchardViewRender, RedrawingReproducesTheSamePixels) {
    SceneWorld scene(Game::lateDemo());
    Sprite bundled(Sprite::bundled(), nullptr, 2);
    const std::unique_ptr<OrchardView> view = scene.makeView(bundled, [] { return 0.3; }, {746, 72});
    const QImage before = view->renderImage(scene.clock.now());
    int painted = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            painted += qAlpha(before.pixel(x, y)) != 0;
        }
    }
    EXPECT_GT(painted, before.width() * 8) << "ground, trees, crate and workers show";
    view->redrawAll();
    EXPECT_EQ(view->renderImage(scene.clock.now()), before);
}

} // namespace
