#include "scene/Compositor.h"

#include "SceneTestSupport.h"
#include "scene/Sprite.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pipfield;
using pipfield::test::FakeSceneClock;

namespace {

QImage solid(QColor color, int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

QList<QImage> threeFrames() {
    return {solid(Qt::red, 2, 2), solid(Qt::green, 2, 2), solid(Qt::blue, 2, 2)};
}

QColor shown(const Layer& layer, double t) {
    const LayerState state = layer.presentation(t);
    return state.contents != nullptr ? QColor(state.contents->pixel(0, 0)) : QColor();
}

TEST(AnimationTest, FlipbookShowsTheFrameOfTheMomentAndLoops) {
    auto layer = Layer::create();
    layer->addAnimation("anim", Sprite::flipbook(threeFrames(), 0.1).beginAt(10.0));
    // The last, a thousand loops later.
    for (const auto& [t, colour] :
         {std::pair{10.05, Qt::red}, {10.15, Qt::green}, {10.25, Qt::blue}, {10.35, Qt::red}, {310.15, Qt::green}}) {
        EXPECT_EQ(shown(*layer, t), QColor(colour)) << t;
    }
    EXPECT_NEAR(layer->nextChange(10.05), 10.1, 1e-9);
    EXPECT_NEAR(layer->nextChange(10.29), 10.3, 1e-9);
    // Before it begins the layer shows its own picture, and the start is the next change.
    EXPECT_EQ(layer->presentation(9.0).contents, &layer->contents());
    EXPECT_NEAR(layer->nextChange(9.0), 10.0, 1e-9);
}

/// A compositor on a fake clock that gathers what it asks to have repainted.
class CompositorTest : public ::testing::Test {
protected:
    explicit CompositorTest(QSizeF size = {100, 50})
        : compositor(clock, [this](const QRegion& r) { invalidated += r; }) {
        compositor.setViewSize(size);
    }

    std::shared_ptr<Layer> sprite(const QImage& image, QPointF at, double z = 0) {
        auto layer = Sprite::layer(image);
        layer->setPosition(at);
        layer->setZ(z);
        compositor.root()->addChild(layer);
        return layer;
    }
    std::shared_ptr<Layer> sprite(QColor color, QPointF at) { return sprite(solid(color, 4, 6), at); }

    FakeSceneClock clock;
    QRegion invalidated;
    Compositor compositor;
};

TEST_F(CompositorTest, RepaintsOnlyWhatChangedAndSleepsWhenNothingAnimates) {
    invalidated = {};
    auto left = sprite(Qt::red, {10, 0});
    sprite(Qt::blue, {80, 0});
    compositor.flush();
    EXPECT_EQ(invalidated.boundingRect(), QRect(8, 44, 74, 6)) << "both sprites appear";

    invalidated = {};
    clock.advance(1);
    compositor.flush();
    EXPECT_TRUE(invalidated.isEmpty()) << "nothing changed, nothing to paint";

    left->setPosition({20, 0});
    clock.advance(1);
    compositor.flush();
    // Old and new places of the moved sprite (y grows downwards in the view), nothing of the other.
    EXPECT_EQ(invalidated, QRegion(QRect(8, 44, 4, 6)) + QRegion(QRect(18, 44, 4, 6)));
}

TEST_F(CompositorTest, PaintsWhenSomethingChangesButAtMostSixtyTimesASecond) {
    const QImage red = solid(Qt::red, 2, 2);
    auto layer = sprite(Qt::red, {10, 0});
    // Red held for three frames, then green: the only change is at 0.3 s.
    layer->addAnimation("anim", Sprite::flipbook({red, red, red, solid(Qt::green, 2, 2)}, 0.1));
    const double begun = clock.now();
    compositor.flush();
    ASSERT_TRUE(compositor.plannedFlush());
    EXPECT_NEAR(*compositor.plannedFlush(), begun + 0.3, 1e-9) << "frames that repeat the picture wake nobody";

    // A change right after a paint waits for the next sixtieth of a second.
    clock.advance(0.001);
    layer->setPosition({12, 0});
    EXPECT_NEAR(*compositor.plannedFlush(), begun + Compositor::kMinInterval, 1e-9);

    layer->removeAnimation("anim");
    clock.advance(1);
    compositor.flush();
    EXPECT_FALSE(compositor.plannedFlush()) << "nothing animates: no wake-up planned";
}

TEST_F(CompositorTest, ChangesThatNearlyMeetShareAPaint) {
    // Frames turning every 0.12 s and every 0.15 s: in 0.6 s they turn at 0.12, 0.15, 0.24, 0.30,
    // 0.36, 0.45, 0.48 and 0.60. The pairs 30 ms apart are painted together, at the later moment.
    auto fast = sprite(Qt::red, {10, 0});
    auto slow = sprite(Qt::blue, {60, 0});
    const double begun = clock.now();
    fast->addAnimation("anim", Sprite::flipbook(threeFrames(), 0.12));
    slow->addAnimation("anim", Sprite::flipbook(threeFrames(), 0.15));
    compositor.flush();
    std::vector<double> paints;
    while (clock.now() < begun + 0.6 - 1e-9) {
        ASSERT_TRUE(compositor.plannedFlush());
        clock.advance(*compositor.plannedFlush() - clock.now());
        compositor.flush();
        paints.push_back(std::round((clock.now() - begun) * 100) / 100);
    }
    EXPECT_EQ(paints, (std::vector<double>{0.15, 0.24, 0.30, 0.36, 0.48, 0.60}));
}

TEST_F(CompositorTest, WhileAPacedAnimationRunsEveryPaintWaitsForItsBeat) {
    const double beat = 0.05;
    auto walker = sprite(Qt::red, {10, 0});
    auto flicker = sprite(Qt::blue, {60, 0});
    const double begin = Animation::nextBeat(clock.now() + 0.012, beat);
    walker->addAnimation("move", Animation::keyframes(Animation::Property::positionX, {10, 11, 12, 13, 14, 15},
                                                      5 * beat, Animation::Mode::discrete)
                                     .keyTimes({0, 0.2, 0.4, 0.6, 0.8, 1})
                                     .beginAt(begin)
                                     .fill(Animation::Fill::backwards)
                                     .paced(beat));
    // Turning every 0.07 s, out of step with the walk.
    flicker->addAnimation("anim", Sprite::flipbook(threeFrames(), 0.07));
    const double flickerBegun = clock.now();
    compositor.flush();
    int paints = 0;
    while (compositor.plannedFlush() && clock.now() < begin + 5 * beat - 1e-9) {
        clock.advance(*compositor.plannedFlush() - clock.now());
        compositor.flush();
        const double beats = clock.now() / beat;
        EXPECT_NEAR(beats, std::round(beats), 1e-6) << "a paint between two beats";
        ++paints;
    }
    EXPECT_EQ(paints, 6) << "the beat on which the walk starts, then one per step";
    // Walk over: the flicker is painted at its own moments again.
    ASSERT_TRUE(compositor.plannedFlush());
    const double due = *compositor.plannedFlush();
    const double frames = (due - flickerBegun) / 0.07;
    EXPECT_NEAR(frames, std::round(frames), 1e-6);
}

TEST_F(CompositorTest, DrawsAnchoredFlippedAndClippedLayersPixelExact) {
    QImage art(2, 1, QImage::Format_ARGB32_Premultiplied);
    art.setPixel(0, 0, qRgb(255, 0, 0));
    art.setPixel(1, 0, qRgb(0, 0, 255));
    sprite(art, {10, 0});
    sprite(art, {20, 0})->setFlipped(true);
    auto box = Layer::create();
    box->setAnchor({0, 0});
    box->setPosition({30, 0});
    box->setBounds({1, 5});
    box->setClips(true);
    auto clipped = Sprite::layer(art);
    clipped->setAnchor({0, 0});
    box->addChild(clipped);
    compositor.root()->addChild(box);

    QImage out(100, 50, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    compositor.render(painter, clock.now());
    painter.end();
    // Bottom row of the view; each sprite stands on its bottom centre.
    EXPECT_EQ(out.pixel(9, 49), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(10, 49), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(19, 49), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(20, 49), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(30, 49), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(out.pixel(31, 49)), 0) << "cut off at the parent's bounds";
    EXPECT_EQ(qAlpha(out.pixel(10, 48)), 0);
}

QImage art(QColor color, int w, int h, int scale) {
    QImage image = solid(color, w * scale, h * scale);
    // A darker left column, so that a mirror image differs from the picture, and a clear corner, as
    // pixel art has around its shape.
    for (int y = 0; y < image.height(); ++y) {
        image.setPixelColor(0, y, color.darker(200));
    }
    image.setPixel(image.width() - 1, 0, 0);
    image.setDevicePixelRatio(scale);
    return image;
}

// What a window shows when only the damage of each flush is repainted, cleared first; compared with
// the whole scene drawn afresh. Each window, transparent and opaque, is repainted both through a
// painter and into its image as the strip's own surfaces do, which must show the same pixels.
class RepaintTest : public CompositorTest, public ::testing::WithParamInterface<int> {
protected:
    RepaintTest() : CompositorTest({120, 40}) {}

    QImage blank(QImage::Format format = QImage::Format_ARGB32_Premultiplied) const {
        QImage image((compositor.viewSize() * scale).toSize(), format);
        image.setDevicePixelRatio(scale);
        image.fill(format == QImage::Format_RGB32 ? Qt::black : Qt::transparent);
        return image;
    }
    void repaint() {
        for (QImage* image : {&screen, &opaque}) {
            QPainter painter(image);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            for (const QRect& r : invalidated) {
                painter.fillRect(r, image->hasAlphaChannel() ? Qt::transparent : Qt::black);
            }
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setClipRegion(invalidated);
            compositor.paint(painter, invalidated);
        }
        compositor.paint(copied, invalidated);
        compositor.paint(opaqueCopied, invalidated);
        invalidated = {};
        ASSERT_EQ(copied, screen);
        ASSERT_EQ(opaqueCopied, opaque);
    }
    QImage whole(double t) {
        QImage image = blank();
        QPainter painter(&image);
        compositor.render(painter, t);
        return image;
    }

    /// Runs every planned flush for that many seconds, repainting only the damage each time, and
    /// checks after each that the window shows what the whole scene does.
    void follow(double seconds) {
        const double end = clock.now() + seconds;
        while (compositor.plannedFlush() && *compositor.plannedFlush() <= end) {
            clock.advance(*compositor.plannedFlush() - clock.now());
            compositor.flush();
            ASSERT_NO_FATAL_FAILURE(repaint());
            ASSERT_EQ(screen, whole(clock.now())) << "at " << clock.now();
            ++flushes;
        }
    }

    const int scale = GetParam();
    QImage screen = blank();
    QImage copied = blank();
    QImage opaque = blank(QImage::Format_RGB32);
    QImage opaqueCopied = blank(QImage::Format_RGB32);
    int flushes = 0;
};

TEST_P(RepaintTest, RepaintingOnlyTheDamageShowsWhatTheWholeSceneDoes) {
    // Ground tiles, mirrored every second one, inside a box that cuts them off; a still tree above a
    // lantern-like layer that flickers below it; a walker that passes under the tree and over the
    // ground, facing left; a fading spark at fractional positions.
    auto ground = Layer::create();
    ground->setAnchor({0, 0});
    ground->setPosition({3, 0});
    ground->setBounds({100, 4});
    ground->setClips(true);
    compositor.root()->addChild(ground);
    for (int k = 0; k < 9; ++k) {
        auto tile = Sprite::layer(art(QColor(90, 60, 30), 12, 4, scale));
        tile->setAnchor({k % 2 == 1 ? 1.0 : 0.0, 0});
        tile->setFlipped(k % 2 == 1);
        tile->setPosition({12.0 * k, 0});
        ground->addChild(tile);
    }
    // The last tile, cut off by the box, changes colour now and then.
    ground->children().back()->addAnimation(
        "anim", Sprite::flipbook({art(QColor(90, 60, 30), 12, 4, scale), art(Qt::green, 12, 4, scale)}, 0.4)
                    .repeat(Animation::kForever));
    auto flicker = sprite(art(Qt::yellow, 6, 6, scale), {40, 6}, 6);
    flicker->addAnimation(
        "anim",
        Sprite::flipbook({art(Qt::yellow, 6, 6, scale), art(Qt::white, 4, 8, scale)}, 0.3).repeat(Animation::kForever));
    auto tree = sprite(art(QColor(20, 140, 20), 10, 20, scale), {60, 4}, 10);
    auto walker = sprite(art(Qt::red, 6, 10, scale), {20, 2}, 20);
    walker->setFlipped(true);
    // Half see-through, like a shadow: blended, where the others are copied.
    auto below = sprite(art(QColor(0, 0, 255, 128), 6, 10, scale), {20, 4}, 8);
    const double hop = 1.0 / scale;
    std::vector<double> xs;
    for (double x = 20; x <= 80; x += hop) {
        xs.push_back(x);
    }
    const auto walk = [&](std::vector<double> path) {
        return Animation::keyframes(Animation::Property::positionX, std::move(path), 1.5, Animation::Mode::discrete)
            .paced(1.5 / static_cast<double>(xs.size()));
    };
    walker->addAnimation("move", walk(xs));
    // Drawn below the tree and walking right through it: the still picture must not put the tree under it.
    below->addAnimation("move", walk(xs));
    auto spark = sprite(art(Qt::cyan, 3, 3, scale), {30.3, 20.7}, 30);
    spark->addAnimation("burst", Animation::group({Animation::move({30.3, 20.7}, {70.6, 30.2}, 1.0),
                                                   Animation::keyframes(Animation::Property::opacity, {1, 0.2}, 1.0,
                                                                        Animation::Mode::linear)},
                                                  1.0));

    compositor.flush();
    ASSERT_NO_FATAL_FAILURE(repaint());
    ASSERT_EQ(screen, whole(clock.now()));
    follow(1.0);
    // The tree bears fruit and the walker turns round: the tree changes the still picture.
    const double flushed = clock.now();
    clock.advance(0.01);
    tree->show(art(QColor(200, 160, 20), 10, 22, scale));
    walker->setFlipped(false);
    // The window is uncovered before the next flush: a paint of the changed tree, in two patches,
    // shows it as it stands at the instant of the last flush.
    invalidated = QRegion(0, 0, 60, 40) + QRegion(60, 0, 60, 40);
    ASSERT_NO_FATAL_FAILURE(repaint());
    ASSERT_EQ(screen, whole(flushed));
    follow(1.0);
    EXPECT_GT(flushes, 40) << "every hop flushed";
    EXPECT_GE(compositor.stillDrawCount(), 2u) << "the still picture drawn again for the grown tree";
}

INSTANTIATE_TEST_SUITE_P(OneAndTwoPixelsAPoint, RepaintTest, ::testing::Values(1, 2));

TEST_F(CompositorTest, AnImagePaintedAnewKeepsNothingOfWhatItHeldAroundTheScene) {
    sprite(Qt::red, {10, 0});
    for (const QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
        const QRgb under = format == QImage::Format_RGB32 ? 0xFF000000 : 0;
        QImage image(110, 60, format);
        for (const bool flushed : {false, true}) {
            image.fill(Qt::green);
            if (flushed) {
                compositor.flush();
            }
            compositor.paint(image, QRegion(image.rect()));
            EXPECT_EQ(image.pixel(10, 47), qRgb(255, 0, 0)) << "flushed " << flushed;
            EXPECT_EQ(image.pixel(50, 20), under) << "flushed " << flushed;
            EXPECT_EQ(image.pixel(105, 55), under) << "beyond the scene, flushed " << flushed;
        }
    }
}

} // namespace
