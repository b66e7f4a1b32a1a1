#include "kit/PixelArt.h"

#include <QPainter>
#include <QSize>
#include <QSizeF>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace pipfield {
namespace {

// The key art in the window's header and on the card is pinned, as drawn, by the management window's tests.
TEST(PixelArt, CoverMultipleIsTheSmallestWholeScaleThatCovers) {
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(600, 170)), 2);
    EXPECT_EQ(coverMultiple(QSize(256, 72), QSizeF(600, 120)), 3);
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(10, 10)), 1);
}

// Filled art keeps its composition on every screen: an art pixel is the same number of points as at one
// device pixel per point, made whole in device pixels, whether the art was rasterised at 1 or at 2.
TEST(PixelArt, FilledArtPixelsAreTheSamePointsAtEveryRatioAndRasterScale) {
    struct Case {
        double imageRatio;
        double deviceRatio;
        int devicePixelsPerArtPixel;
    };
    // 10 art pixels across a 25-point target need 3 points each.
    for (const Case& c : {Case{1, 1, 3}, Case{2, 2, 6}, Case{2, 1.5, 5}, Case{1, 1.5, 5}, Case{1, 2, 6}}) {
        SCOPED_TRACE(testing::Message() << c.imageRatio << " on " << c.deviceRatio);
        QImage art(static_cast<int>(10 * c.imageRatio), static_cast<int>(4 * c.imageRatio), QImage::Format_ARGB32);
        for (int x = 0; x < art.width(); ++x) {
            const bool even = static_cast<int>(x / c.imageRatio) % 2 == 0;
            for (int y = 0; y < art.height(); ++y) {
                art.setPixel(x, y, even ? 0xffff0000 : 0xff0000ff);
            }
        }
        art.setDevicePixelRatio(c.imageRatio);
        QImage device(static_cast<int>(std::ceil(40 * c.deviceRatio)), static_cast<int>(std::ceil(12 * c.deviceRatio)),
                      QImage::Format_ARGB32);
        device.setDevicePixelRatio(c.deviceRatio);
        device.fill(Qt::white);
        {
            QPainter painter(&device);
            drawPixelArt(painter, art, QRectF(0, 0, 25, 12), PixelFit::fill);
        }
        // Along the bottom row, every run of one colour but the cropped ones at the edges.
        std::vector<int> runs{1};
        const int row = device.height() - 1;
        for (int x = 1; x < static_cast<int>(25 * c.deviceRatio); ++x) {
            if (device.pixel(x, row) == device.pixel(x - 1, row)) {
                ++runs.back();
            } else {
                runs.push_back(1);
            }
        }
        ASSERT_GE(runs.size(), 4U);
        for (std::size_t i = 1; i + 1 < runs.size(); ++i) {
            EXPECT_EQ(runs[i], c.devicePixelsPerArtPixel) << "run " << i;
        }
    }
}

} // namespace
} // namespace pipfield
