// Square art pixels at the intended size on any screen. This runs once as it is and once more under
// each of QT_SCALE_FACTOR=1.25, 1.5, 1.75 and 2 (see CMakeLists.txt), the ratios laptops ship with.

#include "SceneTestSupport.h"
#include "scene/OrchardView.h"
#include "strip/StripGeometry.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include <map>

using namespace pipfield;
using namespace pipfield::test;

namespace {

static_assert(StripGeometry::kOrchardWidth == OrchardView::kContentWidth,
              "the strip fits the orchard the view lays out");

TEST(PixelRatio, TheStripHoldsItsArtWholeAtTheNearestScaleWithNoBandBeside) {
    // Ground tiles striped one art pixel at a time in two colours.
    FakeArt art = sceneArt();
    QImage stripes(32, 8, QImage::Format_RGBA8888_Premultiplied);
    for (int x = 0; x < stripes.width(); ++x) {
        for (int y = 0; y < stripes.height(); ++y) {
            stripes.setPixelColor(x, y, x % 2 == 0 ? QColor(200, 40, 40) : QColor(40, 40, 200));
        }
    }
    art.images.insert("ground-0", stripes);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = screen->devicePixelRatio();
    // 1.5 is as far from 1 as from 2 in device pixels, but a third too small is the larger step.
    const std::map<double, int> expectedScale{{1.0, 1}, {1.25, 1}, {1.5, 2}, {1.75, 2}, {2.0, 2}};
    ASSERT_TRUE(expectedScale.contains(ratio)) << ratio;
    const int scale = expectedScale.at(ratio);

    // The offscreen screen is small; the strip sits on a wide one.
    const QRect frame = StripGeometry::frameFor(QRect(0, 0, 1920, 1080), ratio);
    SceneWorld scene(bareOrchard({}), frame.size(), art);
    scene.view->show();
    EXPECT_EQ(scene.sprites.scale(), scale);

    const QImage shot = scene.view->grab().toImage();
    // Whole art pixels fill the window, as many as the strip is meant to have (within the two more
    // that whole points allow at 1.75): no band of sky beside or above the art.
    EXPECT_EQ(shot.width() % scale, 0) << shot.width();
    EXPECT_EQ(shot.height() % scale, 0) << shot.height();
    EXPECT_GE(shot.width() / scale, 746);
    EXPECT_LE(shot.width() / scale, 748);
    EXPECT_GE(shot.height() / scale, 72);
    EXPECT_LE(shot.height() / scale, 73);

    // The row one art pixel above the bottom edge runs through the ground.
    const int row = shot.height() - 1 - scale;
    // Run length -> how many, of the runs of one stripe colour that another colour ends.
    std::map<int, int> runs;
    const auto stripe = [](QColor c) { return c == QColor(200, 40, 40) || c == QColor(40, 40, 200); };
    for (int x = 1, start = 0; x < shot.width(); ++x) {
        if (shot.pixel(x, row) != shot.pixel(start, row)) {
            if (stripe(shot.pixelColor(start, row))) {
                ++runs[x - start];
            }
            start = x;
        }
    }
    ASSERT_FALSE(runs.empty()) << "the ground shows";
    // Mirrored tiles meet their neighbours in double stripes; everything else is single.
    for (const auto& [run, count] : runs) {
        EXPECT_TRUE(run == scale || run == 2 * scale) << count << " runs of " << run << " pixels";
    }
    EXPECT_GT(runs[scale], 100);
}

} // namespace
