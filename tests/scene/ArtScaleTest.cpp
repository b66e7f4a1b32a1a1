#include "scene/ArtScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pipfield {
namespace {

// Screens people run: the art is drawn at the whole scale nearest in proportion, and the strip's
// 746 x 72 art pixels get a window of points whose device pixels hold them whole.
TEST(ArtScale, AFractionalScreenDrawsTheArtWholeAtTheNearestScale) {
    struct Screen {
        double ratio;
        int scale;
        int widthPoints;  // holding 746 art pixels, or one or two more where none holds exactly 746
        int heightPoints; // holding 72, or one less or more
    };
    for (const Screen& screen :
         {Screen{1.0, 1, 746, 72}, Screen{1.25, 1, 597, 58}, Screen{1.4, 1, 533, 51}, Screen{1.5, 2, 996, 96},
          Screen{1.75, 2, 855, 82}, Screen{2.0, 2, 746, 72}, Screen{2.5, 3, 895, 85}, Screen{3.0, 3, 746, 72}}) {
        SCOPED_TRACE(screen.ratio);
        EXPECT_EQ(wholeArtScale(screen.ratio), screen.scale);
        EXPECT_EQ(pointsHolding(746, screen.ratio, screen.scale), screen.widthPoints);
        EXPECT_EQ(pointsHolding(72, screen.ratio, screen.scale), screen.heightPoints);
        for (const int points : {screen.widthPoints, screen.heightPoints}) {
            EXPECT_EQ(devicePixels(points, screen.ratio) % screen.scale, 0) << points;
        }
    }
    // The step between two scales lies at their geometric middle; a hair below a whole ratio is that ratio.
    EXPECT_EQ(wholeArtScale(1.41), 1);
    EXPECT_EQ(wholeArtScale(1.42), 2);
    EXPECT_EQ(wholeArtScale(1.9999), 2);
    for (const double odd : {0.0, -1.0, 0.5, std::nan(""), HUGE_VAL}) {
        EXPECT_GE(wholeArtScale(odd), 1);
        EXPECT_LE(wholeArtScale(odd), 16);
    }
    EXPECT_EQ(pointsHolding(746, std::nan(""), 2), 746);
    EXPECT_EQ(pointsHolding(0, 1.5, 2), 0);
    EXPECT_EQ(pointsHolding(1 << 30, 1e-300, 1), 1 << 20);
    EXPECT_EQ(devicePixels(1 << 30, 16.0), 1 << 30);
    EXPECT_EQ(devicePixels(100, std::nan("")), 0);
    // A screen too narrow for the art at the nearest scale takes the largest that fits.
    EXPECT_EQ(fittingArtScale(1.5, 2880, 724), 2);
    EXPECT_EQ(fittingArtScale(1.5, 900, 724), 1);
    EXPECT_EQ(fittingArtScale(3.0, 1500, 724), 2);
    EXPECT_EQ(fittingArtScale(2.0, 100, 724), 1);
}

} // namespace
} // namespace pipfield
