#include "kit/PixelArt.h"

#include <QSize>
#include <QSizeF>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

// The key art in the window's header and on the card is pinned, as drawn, by the management window's tests.
TEST(PixelArt, CoverMultipleIsTheSmallestWholeScaleThatCovers) {
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(600, 170)), 2);
    EXPECT_EQ(coverMultiple(QSize(256, 72), QSizeF(600, 120)), 3);
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(10, 10)), 1);
}

} // namespace
} // namespace pipfield
