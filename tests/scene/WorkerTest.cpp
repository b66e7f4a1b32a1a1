#include "scene/Worker.h"

#include "SceneTestSupport.h"
#include "model/Balance.h"

#include <gtest/gtest.h>

using namespace pipfield;
using namespace pipfield::test;

namespace {

/// A harvester on its way from beside the crate to the one tree with fruit.
class WorkerWalk : public ::testing::Test {
protected:
    SceneWorld scene{withWorkers({WorkerRole::harvester}, {mature(TreeKind::eureka, 2)})};
    Worker& harvester = scene.worker("harvester-0");
};

TEST_F(WorkerWalk, WalksToItsTreeAtEighteenPointsASecond) {
    const double origin = scene.view->originX();
    const double from = origin + 48;
    const double to = origin + 150 - 14;
    EXPECT_EQ(harvester.playing(), "walk");
    EXPECT_EQ(harvester.x(), to);
    EXPECT_FALSE(harvester.layer()->flipped()) << "facing right, the way it walks";
    const Animation* move = harvester.layer()->animation("move");
    ASSERT_NE(move, nullptr);
    EXPECT_NEAR(move->duration(), (to - from) / 18, 1e-9);

    scene.clock.advance(move->duration());
    EXPECT_EQ(harvester.playing(), "pick");
    EXPECT_EQ(harvester.layer()->presentation(scene.clock.now()).position.x(), to);
}

TEST(WorkerDig, AWalkOfLessThanHalfAPointIsSkippedWithoutWaitingAndThePowerSaverSlowsTheWholeGesture) {
    // With one growing tree the planter starts at it and is sent to it: no walk, straight to digging.
    SceneWorld scene(withWorkers({WorkerRole::planter}, {Tree{TreeKind::eureka, 10, 0, 0}}));
    Worker& planter = scene.worker("planter-0");
    EXPECT_EQ(planter.playing(), "dig");
    EXPECT_EQ(planter.layer()->animation("move"), nullptr);
    EXPECT_EQ(planter.token(), 1u) << "only the dig waits";

    // Three swings of four pages: at half speed they take twice as long, none cut short.
    scene.settings().setDesktopPowerSaver(true);
    const std::unique_ptr<OrchardView> saving = scene.makeView(scene.sprites, [] { return 0.5; }, {746, 72});
    Worker& slow = *saving->workers().at(QStringLiteral("planter-0"));
    scene.clock.advance(1.5);
    EXPECT_EQ(planter.playing(), "idle");
    EXPECT_EQ(slow.playing(), "dig");
    scene.clock.advance(1.44);
    EXPECT_EQ(slow.playing(), "idle");
}

TEST_F(WorkerWalk, ResizingCutsTheErrandAndTheOldWaitNeverFires) {
    const double walkSeconds = harvester.layer()->animation("move")->duration();
    const double target = harvester.x();
    scene.clock.advance(0.1);
    scene.view->setFrameSize({1000, 72});
    EXPECT_EQ(harvester.x(), target + 127) << "moved with the content";
    // The new errand finds the worker already at the tree: it picks at once.
    EXPECT_EQ(harvester.playing(), "pick");
    EXPECT_EQ(harvester.layer()->animation("move"), nullptr);
    // After the pick it carries to the crate; the cut walk's wait, due meanwhile, must not skip ahead.
    scene.clock.advance(walkSeconds);
    EXPECT_EQ(harvester.playing(), "carry");
    EXPECT_NE(harvester.layer()->animation("move"), nullptr);
}

TEST_F(WorkerWalk, AWalkUnderWayTakesUpThePowerSaversHopsAtOnceAndArrivesWhenItWould) {
    const Animation* move = harvester.layer()->animation("move");
    ASSERT_NE(move, nullptr);
    const double arrival = *move->beginTime() + move->duration();
    const double to = harvester.x();
    scene.clock.advance(1.0);
    const double at = harvester.layer()->presentation(scene.clock.now()).position.x();

    scene.settings().setDesktopPowerSaver(true);
    EXPECT_DOUBLE_EQ(harvester.layer()->beat(scene.clock.now()), 2.0 / Worker::kSpeed) << "nine hops a second";
    EXPECT_EQ(harvester.x(), to) << "bound where it was";
    EXPECT_EQ(harvester.layer()->presentation(scene.clock.now()).position.x(), at) << "no jump";
    move = harvester.layer()->animation("move");
    ASSERT_NE(move, nullptr);
    EXPECT_NEAR(*move->beginTime() + move->duration(), arrival, 2.0 / Worker::kSpeed) << "at the same speed";
    scene.clock.advance(arrival + 0.2 - scene.clock.now());
    EXPECT_EQ(harvester.playing(), "pick");

    // And back: the next walk hops as before.
    scene.settings().setDesktopPowerSaver(false);
    EXPECT_EQ(harvester.playing(), "pick") << "an act is left to finish";
}

TEST_F(WorkerWalk, OffScreenAnErrandWaitsWhereItStandsAndGoesOnOnTheWayBack) {
    scene.view->setOnScreen(true);
    const double walkSeconds = harvester.layer()->animation("move")->duration();
    scene.view->setOnScreen(false);
    // The wait under way when the strip went is kept; the next one waits for the strip.
    scene.clock.advance(walkSeconds);
    EXPECT_EQ(harvester.playing(), "pick");
    const auto token = harvester.token();
    scene.clock.advance(3600);
    EXPECT_EQ(harvester.playing(), "pick") << "an hour behind a lock screen, picking the same fruit";
    EXPECT_EQ(harvester.token(), token);

    scene.view->setOnScreen(true);
    scene.clock.advance(60);
    EXPECT_NE(harvester.token(), token) << "the errand goes on";
}

TEST(WorkerSync, SecondHarvesterJoinsBesideTheCrateInTheSecondBody) {
    Orchard o = withWorkers({WorkerRole::harvester}, {}, 10);
    o.extraWorkers.insert(WorkerRole::harvester);
    SceneWorld scene(o);
    ASSERT_EQ(scene.view->workers().size(), 2u);
    Worker& second = scene.worker("harvester-1");
    EXPECT_EQ(second.look().variant, 1);
    EXPECT_EQ(second.layer()->position(), QPointF(scene.view->originX() + 58, 2));
    EXPECT_EQ(second.layer()->z(), 20 + 4 + 1);
}

TEST(WorkerSync, ALookChangeRestylesWithoutRestartingTheErrand) {
    SceneWorld scene(withWorkers({WorkerRole::harvester}, {}));
    Worker& harvester = scene.worker("harvester-0");
    const quint64 token = harvester.token();
    scene.game->setLook({1, 3, "Mina"}, WorkerRole::harvester, 0);
    scene.view->sync();
    EXPECT_EQ(harvester.look().dye, 3);
    EXPECT_EQ(harvester.token(), token);
    EXPECT_EQ(&scene.worker("harvester-0"), &harvester);
}

TEST(WorkerLooks, NumbersFarOutOfRangeShowThePlainUndyedBody) {
    // A hand-edited save: 2^32 + 1 must not wrap round to 1 (red, second body).
    FakeArt art = sceneArt();
    for (int i = 0; i < 2; ++i) {
        art.add(QStringLiteral("harvesterb-idle-%1").arg(i), QColor(0, 200, 0), 10, 12);
    }
    const auto shown = [&art](std::int64_t variant, std::int64_t dye) {
        Orchard o = withWorkers({WorkerRole::harvester}, {});
        o.looks["harvester-0"] = WorkerLook{variant, dye, ""};
        SceneWorld scene(o, {746, 72}, art);
        const QPointF p = scene.worker("harvester-0").layer()->position();
        return scene.colourNow(p + QPointF(0, 3));
    };
    EXPECT_EQ(shown(0, 0), QColor(0, 0, 200));
    EXPECT_EQ(shown(1, 0), QColor(0, 200, 0)) << "the second body";
    const QColor red = shown(0, 1);
    EXPECT_GT(red.red(), 150);
    EXPECT_LT(red.blue(), 50) << "dye 1 is red";
    EXPECT_EQ(shown(4294967297LL, 4294967297LL), QColor(0, 0, 200));
    EXPECT_EQ(shown(-4294967295LL, 7), QColor(0, 0, 200));
}

} // namespace
