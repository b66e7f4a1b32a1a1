#include "card/WeeklyCard.h"

#include "scene/Palette.h"
#include "scene/Sprite.h"
#include "support/FakeSaveDialog.h"
#include "support/FullDisk.h"
#include "support/GameTestSupport.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

/// The card's surroundings: the real art, and a save dialog the test answers, over a temporary folder.
struct CardWorld {
    QTemporaryDir dir;
    Sprite sprites{Sprite::bundled(), &Palette::dyeColors(), 1};
    FakeSaveDialog saveDialog;
};

TEST(WeeklyCard, RangeRunsFromMondayToSundayAndTheFileNameCarriesTheIsoWeek) {
    const WeeklyCard card{{}, localInstant(2026, 3, 30, 0)};
    EXPECT_EQ(card.range(QLocale(QLocale::Korean, QLocale::SouthKorea)), "3월 30일 – 4월 5일");
    EXPECT_EQ(card.range(QLocale(QLocale::English, QLocale::UnitedStates)), "Mar 30 – Apr 5");
    // 4 January 2027 is the Monday of ISO week 1 of 2027.
    EXPECT_EQ((WeeklyCard{{}, localInstant(2027, 1, 4, 0)}).fileName(), "Pipfield-2027-W01.png");
}

TEST(WeeklyCard, SavesA1200By760PngWhereThePlayerChose) {
    CardWorld world;
    const WeeklyCard card{{900, 800, 123456, 12}, localInstant(2026, 3, 30, 0)};
    world.saveDialog.answer = world.dir.filePath("week.png");
    ASSERT_EQ(WeeklyCard::save(card, world.sprites, world.saveDialog, nullptr), std::nullopt);
    EXPECT_EQ(world.saveDialog.proposed, std::vector<QString>{"Pipfield-2026-W14.png"});

    QImageReader reader(world.saveDialog.answer);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage saved = reader.read();
    EXPECT_EQ(saved.size(), QSize(1200, 760));
    // The corners are cut round and the body carries the card's cream colour.
    EXPECT_EQ(saved.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(saved.pixelColor(600, 740).rgb(), QColor::fromRgbF(1.0f, 0.985f, 0.94f).rgb());
}

TEST(WeeklyCard, CancellingWritesNothingAndSaysNothing) {
    CardWorld world;
    const WeeklyCard card{{}, localInstant(2026, 3, 30, 0)};
    MessageLog log("pipfield.save");
    world.saveDialog.answer.clear();
    EXPECT_EQ(WeeklyCard::save(card, world.sprites, world.saveDialog, nullptr), std::nullopt);
    EXPECT_EQ(world.saveDialog.proposed.size(), 1u);
    EXPECT_EQ(QDir(world.dir.path()).entryList(QDir::Files).size(), 0);
    EXPECT_TRUE(log.warnings.isEmpty());
}

TEST(FullDisk, ACardThatDoesNotFitLeavesNoEmptyPictureAndAnOlderOneAsItWas) {
    FullDisk disk;
    CardWorld world;
    const WeeklyCard card{{900, 800, 123456, 12}, localInstant(2026, 3, 30, 0)};
    writeFile(disk.filePath("older.png"), "an older picture");
    disk.fill();
    MessageLog log("pipfield.save");

    for (const char* name : {"week.png", "older.png"}) {
        world.saveDialog.answer = disk.filePath(QString::fromLatin1(name));
        EXPECT_EQ(WeeklyCard::save(card, world.sprites, world.saveDialog, nullptr), "No space left on device");
    }
    EXPECT_EQ(disk.entries("."), QStringList{"older.png"});
    EXPECT_EQ(readFile(disk.filePath("older.png")), "an older picture");
    EXPECT_EQ(log.warnings.size(), 2);
}

} // namespace
} // namespace pipfield::test
