#include "platform/SurfaceScale.h"

#include "strip/StripGeometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace pipfield {
namespace {

const QSize kStrip(746, 72);

TEST(SurfaceScaleTest, AWholeOutputScaleMultipliesTheBufferAndKeepsTheContentInPoints) {
    const SurfaceScale two = SurfaceScale::whole(kStrip, 2);
    EXPECT_EQ(two.bufferSize, QSize(1492, 144));
    EXPECT_EQ(two.artScale, 2);
    EXPECT_EQ(two.contentSize, kStrip);
    // An output that announces no sensible scale is drawn at 1.
    EXPECT_EQ(SurfaceScale::whole(kStrip, 0), SurfaceScale::whole(kStrip, 1));
    EXPECT_EQ(SurfaceScale::whole(kStrip, -3).bufferSize, kStrip);
}

// Buffer sides are rounded half away from zero (746 x 1.25 = 932.5 gives 933); the art takes the
// whole scale nearest the fraction at which the orchard fits across, and the content as many whole
// art pixels as fit. (The strip asks for a logical size that makes the content its intended size.)
TEST(SurfaceScaleTest, AFractionalBufferHasTheOutputsDevicePixelsAndTheArtWholeOnes) {
    struct Case {
        std::uint32_t scale120;
        QSize buffer;
        int art;
        QSize content;
    };
    for (const Case& expected : {Case{120, {746, 72}, 1, {746, 72}}, Case{150, {933, 90}, 1, {933, 90}},
                                 Case{180, {1119, 108}, 1, {1119, 108}}, Case{210, {1306, 126}, 1, {1306, 126}},
                                 Case{240, {1492, 144}, 2, {746, 72}}, Case{300, {1865, 180}, 2, {932, 90}},
                                 Case{360, {2238, 216}, 3, {746, 72}}}) {
        const SurfaceScale scale = SurfaceScale::fractional(kStrip, expected.scale120);
        SCOPED_TRACE(expected.scale120);
        EXPECT_EQ(scale.bufferSize, expected.buffer);
        EXPECT_EQ(scale.artScale, expected.art);
        EXPECT_EQ(scale.contentSize, expected.content);
    }
}

TEST(SurfaceScaleTest, EveryArtPixelIsSquareAndTheRestIsLessThanOne) {
    for (std::uint32_t scale120 = 120; scale120 <= 480; ++scale120) {
        for (const QSize logical : {kStrip, QSize(600, 72), QSize(333, 71)}) {
            const SurfaceScale scale = SurfaceScale::fractional(logical, scale120);
            const QSize painted = scale.contentSize * scale.artScale;
            ASSERT_LE(painted.width(), scale.bufferSize.width()) << scale120;
            ASSERT_LE(painted.height(), scale.bufferSize.height()) << scale120;
            // What is left over at the edges is less than one art pixel.
            ASSERT_LT(scale.bufferSize.width() - painted.width(), scale.artScale) << scale120;
            ASSERT_LT(scale.bufferSize.height() - painted.height(), scale.artScale) << scale120;
        }
    }
}

TEST(SurfaceScaleTest, TheStripsSizeAtAFractionalScaleHoldsItsArtExactlyAtTheNearestScale) {
    for (const auto& [scale120, art] : {std::pair{150U, 1}, {180U, 2}, {210U, 2}, {300U, 3}}) {
        const QSize logical = StripGeometry::placeOnOutput({{"DP-1", "", QSize(1920, 1080)}}, 0, scale120 / 120.0).size;
        const SurfaceScale scale = SurfaceScale::fractional(logical, scale120);
        EXPECT_EQ(scale.artScale, art) << scale120;
        EXPECT_EQ(scale.contentSize * scale.artScale, scale.bufferSize) << scale120;
        EXPECT_NEAR(scale.contentSize.width(), 746, 2) << scale120;
        EXPECT_NEAR(scale.contentSize.height(), 72, 1) << scale120;
    }
}

TEST(SurfaceScaleTest, ACompositorsAbsurdNumbersStayWithinWhatABufferCanBe) {
    const SurfaceScale huge = SurfaceScale::fractional(kStrip, std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(huge.artScale, 16);
    EXPECT_EQ(huge.bufferSize, QSize(746 * 16, 72 * 16));
    const SurfaceScale wide = SurfaceScale::fractional(QSize(1 << 30, 72), 180);
    EXPECT_EQ(wide.bufferSize.width(), 16384);
    const SurfaceScale tiny = SurfaceScale::fractional(kStrip, 0);
    EXPECT_EQ(tiny.artScale, 1);
    EXPECT_FALSE(tiny.bufferSize.isEmpty());
    EXPECT_EQ(SurfaceScale::whole(QSize(1 << 30, 1 << 30), 16).bufferSize, QSize(16384, 16384));
}

} // namespace
} // namespace pipfield
