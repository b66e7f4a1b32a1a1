#include "kit/RegionRects.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pipfield {
namespace {

// Each rectangle of damage comes out whole, however QRegion banded it; what cannot be told apart
// (rectangles touching in a band) comes out as pieces that still cover the region exactly once.
TEST(RegionRects, JoinTheBandsOfEachDamagedRectangleAndCoverTheRegionOnce) {
    struct Case {
        const char* name;
        std::vector<QRect> damaged;
        std::vector<QRect> expected;
    };
    const Case cases[] = {
        {"workers of different heights side by side",
         {{0, 0, 10, 10}, {20, 5, 10, 10}, {40, 2, 4, 4}},
         {{0, 0, 10, 10}, {20, 5, 10, 10}, {40, 2, 4, 4}}},
        {"same columns with a gap between", {{0, 0, 10, 5}, {0, 10, 10, 5}}, {{0, 0, 10, 5}, {0, 10, 10, 5}}},
        {"touching in a band", {{0, 0, 10, 10}, {10, 5, 10, 10}}, {{0, 0, 10, 5}, {0, 5, 20, 5}, {10, 10, 10, 5}}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QRegion region;
        for (const QRect& rect : c.damaged) {
            region += rect;
        }
        std::vector<QRect> rects = wholeRects(region);
        const auto byCorner = [](const QRect& a, const QRect& b) {
            return std::pair{a.y(), a.x()} < std::pair{b.y(), b.x()};
        };
        std::vector<QRect> expected = c.expected;
        std::sort(rects.begin(), rects.end(), byCorner);
        std::sort(expected.begin(), expected.end(), byCorner);
        EXPECT_EQ(rects, expected);
    }
}

} // namespace
} // namespace pipfield
