// Square art pixels at any device pixel ratio. This runs once as it is and once more under
// QT_SCALE_FACTOR=1.5 (see CMakeLists.txt), where a fractional ratio would draw uneven columns.

#include "SceneTestSupport.h"
#include "scene/OrchardView.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <map>

using namespace pipfield;
using namespace pipfield::test;

namespace {

TEST(PixelRatio, EveryArtPixelCoversTheSameWholeNumberOfDevicePixels) {
    // Ground tiles striped one art pixel at a time in two colours.
    FakeArt art = sceneArt();
    QImage stripes(32, 8, QImage::Format_RGBA8888_Premultiplied);
    for (int x = 0; x < stripes.width(); ++x) {
        for (int y = 0; y < stripes.height(); ++y) {
            stripes.setPixelColor(x, y, x % 2 == 0 ? QColor(200, 40, 40) : QColor(40, 40, 200));
        }
    }
    art.images.insert("ground-0", stripes);
    SceneWorld scene(bareOrchard({}), {746, 72}, art);
    scene.view->show();
    const double ratio = scene.view->devicePixelRatioF();
    const int perArtPixel = Sprite::pixelScale(ratio);
    EXPECT_EQ(scene.sprites.scale(), perArtPixel);
    EXPECT_EQ(perArtPixel, static_cast<int>(std::floor(ratio + 1e-3)));

    const QImage shot = scene.view->grab().toImage();
    ASSERT_EQ(shot.width(), std::lround(746 * ratio));
    // The row two points above the bottom edge runs through the ground.
    const int row = shot.height() - 1 - static_cast<int>(std::floor(2 * ratio));
    std::map<int, int> runs; // run length -> how many
    int length = 0;
    QColor last;
    for (int x = 0; x < shot.width(); ++x) {
        const QColor c = shot.pixelColor(x, row);
        const bool stripe = c == QColor(200, 40, 40) || c == QColor(40, 40, 200);
        if (stripe && c == last) {
            ++length;
        } else {
            if (last.isValid() && length > 0) {
                ++runs[length];
            }
            length = stripe ? 1 : 0;
        }
        last = stripe ? c : QColor();
    }
    ASSERT_FALSE(runs.empty()) << "the ground shows";
    // Mirrored tiles meet their neighbours in double stripes; everything else is single.
    for (const auto& [run, count] : runs) {
        EXPECT_TRUE(run == perArtPixel || run == 2 * perArtPixel) << count << " runs of " << run << " pixels";
    }
    EXPECT_GT(runs[perArtPixel], 100);
}

} // namespace
