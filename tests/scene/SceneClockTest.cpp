// The real clock's callbacks ride on paints: one due runs at the next paint, before it is drawn,
// and the clock wakes the program itself only when no paint comes.

#include "scene/SceneClock.h"

#include "scene/Compositor.h"
#include "scene/Sprite.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace pipfield;
using namespace std::chrono_literals;

namespace {

// Without a paint to catch up, the clock's own timer would only fire in an hour.
constexpr double kNoFallback = 3600;

TEST(SteadySceneClock, APaintRunsWhatIsDueInOrderAndOnlyThat) {
    SteadySceneClock clock(kNoFallback);
    std::vector<int> ran;
    clock.after(0.2, [&] {
        ran.push_back(1);
        // Asked for at once from inside a catch-up: it waits for the next, so none can loop.
        clock.after(0, [&] { ran.push_back(3); });
    });
    clock.after(0.2, [&] { ran.push_back(2); });
    clock.after(60, [&] { ran.push_back(4); });
    clock.catchUp();
    EXPECT_TRUE(ran.empty()) << "nothing is due yet";

    // No events are handled while sleeping: only the catch-up can run them.
    std::this_thread::sleep_for(250ms);
    EXPECT_TRUE(ran.empty());
    clock.catchUp();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    clock.catchUp();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(clock.pending(), 1u);
}

TEST(SteadySceneClock, WithoutAPaintTheClockWakesForItselfAGraceLater) {
    SteadySceneClock clock(0.05);
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 ranAt = -1;
    clock.after(0.02, [&] { ranAt = elapsed.elapsed(); });
    while (ranAt < 0 && elapsed.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_GE(ranAt, 70) << "due after 20 ms, and 50 ms of grace for a paint to take it";
    EXPECT_EQ(clock.pending(), 0u);
}

TEST(SteadySceneClock, WhatComesDueIsInTheVeryPaintThatTakesIt) {
    SteadySceneClock clock(kNoFallback);
    QRegion invalidated;
    Compositor compositor(clock, [&](const QRegion& r) { invalidated += r; });
    compositor.setViewSize({100, 50});
    QImage red(4, 6, QImage::Format_ARGB32_Premultiplied);
    red.fill(Qt::red);
    auto puff = Sprite::layer(red);
    puff->setPosition({10, 0});
    compositor.root()->addChild(puff);
    compositor.flush();

    clock.after(0, [puff] { puff->removeFromParent(); });
    invalidated = {};
    compositor.flush();
    EXPECT_EQ(puff->parent(), nullptr);
    EXPECT_EQ(invalidated.boundingRect(), QRect(8, 44, 4, 6)) << "where the puff was is painted over";
}

} // namespace
