// What the effects put on screen, as pixels at chosen times of the scene clock. The fake art gives
// every effect three 5 x 5 frames coloured (255, 255, 100), (255, 255, 150) and (255, 255, 200).

#include "SceneTestSupport.h"
#include "model/Balance.h"
#include "scene/OrchardView.h"

#include <gtest/gtest.h>

using namespace pipfield;
using namespace pipfield::test;

namespace {

const QColor kFrame0(255, 255, 100);
const QColor kFrame1(255, 255, 150);
const QColor kFrame2(255, 255, 200);

TEST(EffectPixels, APlantingPuffPlaysItsFramesFromTheMomentItAppears) {
    // Every tree but the first is planted with a puff of dust at its foot.
    SceneWorld scene(bareOrchard({mature(TreeKind::eureka), mature(TreeKind::eureka), mature(TreeKind::eureka)}));
    EXPECT_EQ(scene.effects("anim"), 2u);
    const double t0 = scene.clock.now();
    const QPointF dust(scene.view->treeX(1), 6 + 2.5);
    EXPECT_EQ(scene.colourAt(t0 + 0.05, dust), kFrame0);
    EXPECT_EQ(scene.colourAt(t0 + 0.15, dust), kFrame1) << "partway through its run";
    EXPECT_EQ(scene.colourAt(t0 + 0.25, dust), kFrame2);
    EXPECT_EQ(scene.colourAt(t0 + 0.35, dust), QColor(20, 160, 20)) << "over: the tree (stage 3) shows again";
    scene.clock.advance(0.5);
    EXPECT_EQ(scene.effects(), 0u) << "and the layer is gone";
}

TEST(EffectPixels, CoinsRiseOneAfterAnotherSpinningFromTheirFirstFrame) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer)}), 5));
    scene.clock.advance(2);
    scene.game->sellAll();
    scene.view->sync();
    const double t0 = scene.clock.now();
    const double x = scene.view->originX() + 30; // no sideways drift with the random source at 0.5
    const double h = scene.view->crate().layer()->bounds().height();
    // The first coin is 15 points up after half of its 0.9 s, 7.5 spin frames of 0.06 s on: frame 1.
    // The second, 0.07 s behind, is lower, so the top of the first stands alone.
    EXPECT_EQ(scene.colourAt(t0 + 0.45, {x, h + 15 + 4.5}), kFrame1);
    EXPECT_EQ(scene.colourAt(t0 + 0.03, {x, h + 1 + 4.5}), kFrame0);
    // Each fades out over the last quarter of its rise; after the last one nothing is left.
    EXPECT_EQ(scene.colourAt(t0 + 1.3, {x, h + 30 + 2.5}).alpha(), 0);
    scene.clock.advance(1.5);
    EXPECT_EQ(scene.effects(), 0u);
}

TEST(EffectPixels, APickedFruitArcsIntoTheCrateAndSparklesThere) {
    SceneWorld scene(bareOrchard({mature(TreeKind::meyer, 1)}));
    scene.clock.advance(2);
    const double tree = scene.view->treeX(0);
    const double crate = scene.view->originX() + 30;
    const double h = scene.view->crate().layer()->bounds().height();
    scene.view->clickAt({tree, 10});
    const double t0 = scene.clock.now();
    // Halfway along the quadratic arc from (tree, 42) over (middle, 68) to (crate, h).
    const QPointF top((tree + crate) / 2, 0.25 * 42 + 0.5 * 68 + 0.25 * h + 2);
    EXPECT_EQ(scene.colourAt(t0 + 0.3, top), QColor(Qt::yellow));
    EXPECT_EQ(scene.colourAt(t0 + 0.7, top).alpha(), 0) << "landed";
    // On landing a sparkle plays at the crate.
    scene.clock.advance(0.6);
    const QPointF sparkle(crate, h + 2.5);
    EXPECT_EQ(scene.colourAt(t0 + 0.65, sparkle), kFrame0);
    EXPECT_EQ(scene.colourAt(t0 + 0.75, sparkle), kFrame1);
}

TEST(EffectPixels, AFireflyGlowsAtNightWhereItWasPlaced) {
    SceneWorld scene(bareOrchard({mature(TreeKind::eureka), mature(TreeKind::eureka)}));
    scene.settings().setHourOverride(22);
    scene.view->sync(); // night falls: the lantern is lit
    scene.random = 0.1; // below one in four: a firefly, by the first tree, low
    scene.view->sync();
    const double t0 = scene.clock.now();
    const QPointF firefly(OrchardView::snap(scene.view->treeX(0) - 24 + 4.8), 26 + 3.4 + 2.5);
    EXPECT_EQ(scene.colourAt(t0 + 0.1, firefly), kFrame0) << "fireflies keep their own colours at night";
    EXPECT_EQ(scene.colourAt(t0 + 0.3, firefly), kFrame1);
    EXPECT_EQ(scene.colourAt(t0 + 0.6, firefly), kFrame2);
    EXPECT_EQ(scene.colourAt(t0 + 0.8, firefly).alpha(), 0);
}

TEST(EffectPixels, AnUpgradedWorkerHopsUnderSparkles) {
    Orchard o = bareOrchard({});
    o.workers.set(WorkerRole::harvester, Balance::gearLevels[1] - 1);
    o.coins = 1'000'000'000;
    SceneWorld scene(o);
    Worker& harvester = scene.worker("harvester-0");
    scene.clock.advance(1);
    ASSERT_TRUE(scene.game->buy(Purchase::worker(WorkerRole::harvester)));
    scene.view->sync();
    scene.clock.advance(0); // the first sparkle is due at once
    const double t0 = scene.clock.now();
    const QPointF p = harvester.layer()->position();
    const double head = harvester.layer()->bounds().height() + p.y();
    // Two hops of 0.12 s each after a beat on the ground: first 6 points up, then 4.
    EXPECT_TRUE(isWorker(scene.colourAt(t0 + 0.05, {p.x(), p.y() + 1})));
    EXPECT_FALSE(isWorker(scene.colourAt(t0 + 0.15, {p.x(), p.y() + 1}))) << "in the air";
    EXPECT_TRUE(isWorker(scene.colourAt(t0 + 0.15, {p.x(), head + 5})));
    EXPECT_TRUE(isWorker(scene.colourAt(t0 + 0.65, {p.x(), p.y() + 1}))) << "landed";
    // The first of three sparkles over its head, from its first frame.
    EXPECT_EQ(scene.colourAt(t0 + 0.05, {p.x(), head + 2.5}), kFrame0);
    EXPECT_EQ(scene.colourAt(t0 + 0.15, {p.x(), head + 2.5}), kFrame1);
}

} // namespace
