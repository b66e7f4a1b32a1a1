// When the strip paints, judged by what each paint shows: every hop of a walk painted once at its
// own moment, idle workers turning their pages together, nothing planned while the strip is hidden.

#include "SceneTestSupport.h"
#include "model/Balance.h"
#include "scene/OrchardView.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pipfield;
using namespace pipfield::test;

namespace {

/// The leftmost pixel column showing a worker in the row at height y (points), or -1.
int leftmostWorkerColumn(const QImage& image, double y) {
    const int row = image.height() - 1 - static_cast<int>(std::floor(y * image.devicePixelRatio()));
    for (int x = 0; x < image.width(); ++x) {
        if (isWorker(image.pixelColor(x, row))) {
            return x;
        }
    }
    return -1;
}

struct Pacing {
    int scale;
    bool powerSaving;
    double hopsPerSecond;
    int columnsPerHop;
};

class PaintPacingAtScale : public ::testing::TestWithParam<Pacing> {};

TEST_P(PaintPacingAtScale, EveryHopOfAWalkIsPaintedOnceAtItsOwnMoment) {
    // Every hop moves the worker one pixel column: half a point at two pixels a point, a whole
    // point at one. Saving power, two points a hop at the same speed, at any scale.
    const Pacing pacing = GetParam();
    SceneWorld scene(withWorkers({WorkerRole::harvester}, {mature(TreeKind::eureka, 2)}), {746, 72}, sceneArt(),
                     pacing.scale);
    if (pacing.powerSaving) {
        scene.settings().setDesktopPowerSaver(true);
        scene.view = scene.makeView(scene.sprites, [&scene] { return scene.random; }, {746, 72});
    }
    scene.view->compositor().setActive(true); // on screen, at the scale chosen here
    const double hopTime = Worker::hopLength(pacing.scale, pacing.powerSaving) / Worker::kSpeed;
    EXPECT_DOUBLE_EQ(hopTime, 1.0 / pacing.hopsPerSecond);
    Worker& harvester = scene.worker("harvester-0");
    const Animation* move = harvester.layer()->animation("move");
    ASSERT_NE(move, nullptr);
    const double begin = *move->beginTime();
    const double end = begin + move->duration();
    const auto hops = static_cast<int>(std::ceil(move->duration() / hopTime - 1e-9));
    ASSERT_GT(hops, 40);

    int column = leftmostWorkerColumn(scene.painted(), 5);
    ASSERT_GE(column, 0);
    int paints = 0;
    while (scene.clock.now() < end - 1e-9 && scene.nextFlush()) {
        const double t = scene.clock.now();
        const double beats = (t - begin) / hopTime;
        ASSERT_NEAR(beats, std::round(beats), 1e-6) << "painted between hops at " << t - begin;
        const int now = leftmostWorkerColumn(scene.painted(), 5);
        if (t < end - 1e-9) {
            ASSERT_EQ(now, column + pacing.columnsPerHop) << "paint " << paints << " at " << t - begin << " s";
        }
        column = now;
        ++paints;
    }
    EXPECT_EQ(paints, hops) << "one paint per hop, none skipped, none between";
}

INSTANTIATE_TEST_SUITE_P(OneAndTwoPixelsAPoint, PaintPacingAtScale,
                         ::testing::Values(Pacing{1, false, 18, 1}, Pacing{2, false, 36, 1}, Pacing{1, true, 9, 2},
                                           Pacing{2, true, 9, 4}));

TEST(PaintPacing, IdleWorkersTurnTheirPagesTogether) {
    // Beside the crate and by the first plot, both idling; the caretaker starts its idle again later.
    SceneWorld scene(withWorkers({WorkerRole::harvester, WorkerRole::caretaker}, {}));
    scene.view->show();
    scene.clock.advance(0.07);
    scene.game->setLook({0, 2, ""}, WorkerRole::caretaker, 0);
    scene.view->sync();
    const QPointF harvester = scene.worker("harvester-0").layer()->position() + QPointF(0, 3);
    const QPointF caretaker = scene.worker("caretaker-0").layer()->position() + QPointF(0, 3);
    ASSERT_EQ(scene.worker("caretaker-0").playing(), "idle");

    QImage image = scene.painted();
    QColor lastHarvester = colourAt(image, harvester);
    QColor lastCaretaker = colourAt(image, caretaker);
    // The caretaker's flip-book waits for the next beat, 100.2 s, showing its first frame meanwhile.
    const double together = 100.25;
    int paints = 0;
    while (scene.clock.now() < 102.5 && scene.nextFlush()) {
        image = scene.painted();
        const QColor h = colourAt(image, harvester);
        const QColor c = colourAt(image, caretaker);
        if (scene.clock.now() > together) {
            EXPECT_EQ(h != lastHarvester, c != lastCaretaker)
                << "one turned a page without the other at " << scene.clock.now();
        }
        lastHarvester = h;
        lastCaretaker = c;
        ++paints;
    }
    // Two frames of 0.15 s each: one paint every 0.15 s serves both.
    EXPECT_GE(paints, 14);
    EXPECT_LE(paints, 18);
}

TEST(PaintPacing, AHiddenStripPlansNoPaintAndShowsThePresentWhenShownAgain) {
    SceneWorld scene(withWorkers({WorkerRole::harvester}, {}));
    scene.view->show();
    Compositor& compositor = scene.view->compositor();
    ASSERT_TRUE(compositor.plannedFlush()) << "an idle worker animates";
    scene.view->hide();
    EXPECT_FALSE(compositor.plannedFlush());
    const quint64 flushes = compositor.flushCount();
    scene.clock.advance(3.0);
    scene.view->sync();
    EXPECT_FALSE(compositor.plannedFlush()) << "changes while hidden wake nothing";
    EXPECT_EQ(compositor.flushCount(), flushes);

    scene.clock.advance(0.2);
    scene.view->show();
    EXPECT_EQ(compositor.flushCount(), flushes + 1) << "one flush on showing";
    EXPECT_EQ(scene.painted(), scene.view->renderImage(scene.clock.now())) << "the first paint shows the present";
    EXPECT_TRUE(compositor.plannedFlush());
}

TEST(PaintPacing, AStripShownAgainCatchesUpWithoutCelebratingOldSales) {
    SceneWorld scene(withCrate(bareOrchard({mature(TreeKind::meyer, 4)}), 5));
    scene.view->show();
    scene.view->hide();
    scene.game->sellAll();
    scene.clock.advance(2);
    scene.view->show();
    scene.view->sync();
    EXPECT_EQ(scene.effects(QStringLiteral("burst")), 0u) << "the sale was made while nobody watched";

    scene.game->harvest(0);
    scene.game->sellAll();
    scene.view->sync();
    EXPECT_GT(scene.effects(QStringLiteral("burst")), 0u) << "a sale in view bursts";
}

} // namespace
