#include "scene/Sprite.h"

#include "FakeArt.h"
#include "support/WarningCapture.h"

#include <gtest/gtest.h>

using namespace pipfield;
using pipfield::test::WarningCapture;

namespace {

class SpriteTest : public ::testing::Test {
protected:
    FakeArt art;
    Palette::DyeColors dyes;
};

TEST_F(SpriteTest, FramesStopAtTheFirstMissingIndex) {
    for (const char* name : {"fx-coin-0", "fx-coin-1", "fx-coin-2", "fx-coin-3", "fx-coin-5"}) {
        art.add(name);
    }
    Sprite sprites(art.source(), &dyes, 1);
    EXPECT_EQ(sprites.frames("fx-coin", std::nullopt, Grading::graded).size(), 4);
    EXPECT_FALSE(art.asked->contains("fx-coin-5"));
}

TEST_F(SpriteTest, SheetWithoutFrameZeroIsEmptyAndCached) {
    art.add("dust-1");
    art.add("puff-0");
    Sprite sprites(art.source(), &dyes, 1);
    WarningCapture log("pipfield.scene");
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
    WarningCapture log("pipfield.scene");
    EXPECT_FALSE(sprites.load("nothing"));
    EXPECT_TRUE(log.warnings.isEmpty()) << "asking whether there is one is no fault";
    EXPECT_FALSE(sprites.image("nothing", 25, Grading::graded));
    EXPECT_FALSE(sprites.image("nothing", 0, Grading::asIs));
    EXPECT_EQ(log.warnings, QStringList{QStringLiteral("no image named nothing")});
    sprites.setScale(2);
    EXPECT_FALSE(sprites.load("nothing"));
    EXPECT_EQ(art.asked->count("nothing"), 1);
}

TEST_F(SpriteTest, UndyedUngradedImageIsTheRawImageItself) {
    art.add("tree-eureka-3");
    Sprite sprites(art.source(), &dyes, 2);
    sprites.setGrade({0.5, 0.5, 0.5, 0, 0, 0});
    const auto raw = sprites.load("tree-eureka-3");
    const auto plain = sprites.image("tree-eureka-3", std::nullopt, Grading::asIs);
    ASSERT_TRUE(raw && plain);
    EXPECT_EQ(plain->constBits(), raw->constBits());
    const auto graded = sprites.image("tree-eureka-3", std::nullopt, Grading::graded);
    EXPECT_NE(graded->constBits(), raw->constBits());
}

TEST_F(SpriteTest, DyeLooksUpTheSheetBaseName) {
    art.add("harvester-walk-3", QColor(200, 100, 50));
    dyes.insert("harvester-walk", {0xc86432});
    Sprite sprites(art.source(), &dyes, 1);
    EXPECT_EQ(sprites.image("harvester-walk-3", 120, Grading::asIs)->pixel(0, 0), qRgb(50, 200, 50));
    EXPECT_EQ(sprites.image("harvester-walk-3", std::nullopt, Grading::asIs)->pixel(0, 0), qRgb(200, 100, 50));
}

TEST_F(SpriteTest, KeysTruncateTheHue) {
    EXPECT_EQ(Sprite::key("a", 25.9, Grading::graded), Sprite::key("a", 25.2, Grading::graded));
    EXPECT_NE(Sprite::key("a", 25.9, Grading::graded), Sprite::key("a", 26, Grading::graded));
    EXPECT_NE(Sprite::key("a", 0, Grading::graded), Sprite::key("a", std::nullopt, Grading::graded));
    EXPECT_NE(Sprite::key("a", 0, Grading::graded), Sprite::key("a", 0, Grading::asIs));
    EXPECT_EQ(Sprite::key("a", -0.5, Grading::asIs), Sprite::key("a", 0, Grading::asIs));
}

TEST_F(SpriteTest, ScaleChangeReloadsButTheSameScaleKeepsEverything) {
    art.add("crate-0");
    Sprite sprites(art.source(), &dyes, 1);
    const auto first = sprites.image("crate-0", std::nullopt, Grading::graded);
    sprites.setScale(1);
    EXPECT_EQ(sprites.image("crate-0", std::nullopt, Grading::graded)->constBits(), first->constBits());
    EXPECT_EQ(art.asked->count("crate-0"), 1);
    sprites.setScale(2);
    const auto second = sprites.image("crate-0", std::nullopt, Grading::graded);
    EXPECT_EQ(art.asked->count("crate-0"), 2);
    EXPECT_EQ(second->width(), 4);
    sprites.setScale(0);
    EXPECT_EQ(sprites.scale(), 1);
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

} // namespace
