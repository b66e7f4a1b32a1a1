#include "scene/Sprite.h"

#include "FakeArt.h"
#include "support/MessageLog.h"

#include <gtest/gtest.h>

using namespace pipfield;
using pipfield::test::MessageLog;

namespace {

class SpriteTest : public ::testing::Test {
protected:
    FakeArt art;
    Palette::DyeColors dyes;
};

TEST_F(SpriteTest, FramesStopAtTheFirstMissingIndexAndARunWithoutFrameZeroIsEmptyAndCached) {
    for (const char* name : {"fx-coin-0", "fx-coin-1", "fx-coin-2", "fx-coin-3", "fx-coin-5", "dust-1", "puff-0"}) {
        art.add(name);
    }
    Sprite sprites(art.source(), &dyes, 1);
    MessageLog log("pipfield.scene");
    EXPECT_EQ(sprites.frames("fx-coin", std::nullopt, Grading::graded).size(), 4);
    EXPECT_FALSE(art.asked->contains("fx-coin-5"));

    EXPECT_TRUE(sprites.frames("dust", std::nullopt, Grading::asIs).isEmpty());
    const auto askedBefore = art.asked->size();
    EXPECT_TRUE(sprites.frames("dust", std::nullopt, Grading::asIs).isEmpty());
    EXPECT_EQ(art.asked->size(), askedBefore);
    // A run without its first frame is a fault, said once; the frame past a run's end is none.
    EXPECT_EQ(log.warnings, QStringList{QStringLiteral("no image named dust-0")});
    EXPECT_EQ(sprites.frames("puff", std::nullopt, Grading::asIs).size(), 1);
    EXPECT_EQ(log.warnings.size(), 1);
}

TEST_F(SpriteTest, LoadScalesByWholePixelsWithoutSmoothing) {
    QImage image(2, 1, QImage::Format_RGBA8888_Premultiplied);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 255));
    art.images.insert("tile", image);
    Sprite sprites(art.source(), &dyes, 3);
    const auto loaded = sprites.load("tile");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size(), QSize(6, 3));
    EXPECT_EQ(loaded->devicePixelRatio(), 3.0);
    EXPECT_EQ(loaded->pixel(2, 2), qRgba(255, 0, 0, 255));
    EXPECT_EQ(loaded->pixel(3, 0), qRgba(0, 0, 255, 255));
}

TEST_F(SpriteTest, MissingNamesAreAskedForOnceEvenAcrossScales) {
    Sprite sprites(art.source(), &dyes, 1);
    MessageLog log("pipfield.scene");
    EXPECT_FALSE(sprites.load("nothing"));
    EXPECT_TRUE(log.warnings.isEmpty()) << "asking whether there is one is no fault";
    EXPECT_FALSE(sprites.image("nothing", 25, Grading::graded));
    EXPECT_FALSE(sprites.image("nothing", 0, Grading::asIs));
    EXPECT_EQ(log.warnings, QStringList{QStringLiteral("no image named nothing")});
    sprites.setScale(2);
    EXPECT_FALSE(sprites.load("nothing"));
    EXPECT_EQ(art.asked->count("nothing"), 1);
}

TEST_F(SpriteTest, GradeChangeDropsProcessedImagesButKeepsRawOnes) {
    art.add("fx-dust-0");
    Sprite sprites(art.source(), &dyes, 1);
    const Grade night{0.6, 0.68, 0.92, 0, 4, 16};
    sprites.setGrade(night);
    const auto graded = sprites.image("fx-dust-0", std::nullopt, Grading::graded);
    const auto framesBefore = sprites.frames("fx-dust", std::nullopt, Grading::graded);
    sprites.setGrade(night);
    EXPECT_EQ(sprites.image("fx-dust-0", std::nullopt, Grading::graded)->constBits(), graded->constBits());
    EXPECT_EQ(sprites.frames("fx-dust", std::nullopt, Grading::graded).first().constBits(),
              framesBefore.first().constBits());

    sprites.setGrade({});
    const auto identity = sprites.image("fx-dust-0", std::nullopt, Grading::graded);
    EXPECT_NE(identity->constBits(), graded->constBits());
    EXPECT_EQ(identity->pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(sprites.frames("fx-dust", std::nullopt, Grading::graded).first().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(art.asked->count("fx-dust-0"), 1);
}

QImage pixel(int r, int g, int b, int a = 255) {
    QImage image(1, 1, QImage::Format_RGBA8888_Premultiplied);
    uchar* p = image.bits();
    p[0] = static_cast<uchar>(r);
    p[1] = static_cast<uchar>(g);
    p[2] = static_cast<uchar>(b);
    p[3] = static_cast<uchar>(a);
    return image;
}

std::array<int, 4> bytes(const std::optional<QImage>& image) {
    const uchar* p = image->constBits();
    return {p[0], p[1], p[2], p[3]};
}

const QSet<quint32> orange = {0xc86432};

TEST(Recolor, DyeTakesTheHueWrappedAndKeepsSaturationAndBrightnessOfListedColoursOnly) {
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, 0, {})), (std::array{200, 50, 50, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, 120, {})), (std::array{50, 200, 50, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, 330, {})), (std::array{200, 50, 125, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, 360, {})),
              bytes(Sprite::recolored(pixel(200, 100, 50), orange, 0, {})));
    // a negative hue falls into the last sector, which is where 330 lies
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, -30, {})), (std::array{200, 50, 125, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(128, 128, 128), {0x808080}, 200, {})), (std::array{128, 128, 128, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 51), orange, 120, {})), (std::array{200, 100, 51, 255}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, std::nullopt, {})), (std::array{200, 100, 50, 255}));
}

TEST(Recolor, GradeMultipliesAddsRoundsAndClampsWithinAlphaAfterTheDye) {
    const Grade bright{1.2, 1.2, 1.2, 40, 40, 40};
    EXPECT_EQ(bytes(Sprite::recolored(pixel(0, 0, 0, 0), {0x000000}, 120, bright)), (std::array{0, 0, 0, 0}));
    const Grade night{0.6, 0.68, 0.92, 0, 4, 16};
    // 100 * 0.6 = 60; 100 * 0.68 + 4 = 72; 100 * 0.92 + 16 = 108
    EXPECT_EQ(bytes(Sprite::recolored(pixel(100, 100, 100), {}, std::nullopt, night)), (std::array{60, 72, 108, 255}));
    // 5 * 0.5 = 2.5 rounds away from zero; 250 + 10 clamps to 255; 10 - 20 clamps to 0
    EXPECT_EQ(bytes(Sprite::recolored(pixel(5, 250, 10), {}, std::nullopt, {0.5, 1, 1, 0, 10, -20})),
              (std::array{3, 255, 0, 255}));
    // a premultiplied channel above its alpha is no colour at all
    EXPECT_EQ(bytes(Sprite::recolored(pixel(100, 20, 100, 128), {}, std::nullopt, {1, 1, 1, 60, 0, 0})),
              (std::array{128, 20, 100, 128}));
    EXPECT_EQ(bytes(Sprite::recolored(pixel(200, 100, 50), orange, 120, {0.5, 1, 1, 0, 0, 1})),
              (std::array{25, 200, 51, 255}));
}

} // namespace
