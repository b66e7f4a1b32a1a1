#include "kit/PixelArt.h"

#include <QSize>
#include <QSizeF>

#include <gtest/gtest.h>

namespace pipfield {
namespace {

TEST(PixelArt, CoverMultipleIsTheSmallestWholeScaleThatCovers) {
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(600, 170)), 2);
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(600, 120)), 2);
    EXPECT_EQ(coverMultiple(QSize(256, 72), QSizeF(600, 120)), 3);
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(1200, 340)), 4);
    EXPECT_EQ(coverMultiple(QSize(300, 85), QSizeF(10, 10)), 1);
}

} // namespace
} // namespace pipfield
