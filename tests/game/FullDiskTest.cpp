#include "support/FullDisk.h"

#include "game/FileReplacement.h"
#include "support/GameTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace pipfield::test {
namespace {

const QString kNoSpace = QStringLiteral("No space left on device");

Orchard orchardWithCoins(std::int64_t coins) {
    Orchard o = bareOrchard({{TreeKind::eureka, 3000, 10, 1}});
    o.coins = coins;
    o.crate.set(TreeKind::eureka, 30);
    return o;
}

TEST(FullDisk, AFailedSaveLeavesTheFileByteForByteSaysWhyOnceAndTheNextSaveLandsWhenSpaceIsBack) {
    FullDisk disk;
    SaveStore store(disk.filePath(QStringLiteral("Pipfield/orchard.json")));
    const Save first{orchardWithCoins(100), 1000, {}};
    const Save second{orchardWithCoins(200), 2000, {}};
    ASSERT_EQ(store.write(first), SaveStore::WriteResult::written);
    const std::string before = readFile(store.path());

    disk.fill();
    MessageLog log("pipfield.save");
    EXPECT_EQ(store.write(second), SaveStore::WriteResult::ioFailed);
    EXPECT_EQ(readFile(store.path()), before);
    ASSERT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].contains(store.path()) && log.warnings[0].contains(kNoSpace))
        << log.warnings[0].toStdString();
    // Nothing half-written is left lying about either.
    EXPECT_EQ(disk.entries(QStringLiteral("Pipfield")), QStringList{QStringLiteral("orchard.json")});

    disk.free();
    EXPECT_EQ(store.write(second), SaveStore::WriteResult::written);
    EXPECT_EQ(readSave(store.path()), second);
    // The save it replaced is kept beside it.
    EXPECT_EQ(readFile(store.previousPath()), before);
    EXPECT_EQ(log.warnings.size(), 1);
}

TEST(FullDisk, TheGameRetriesOnItsCadenceAndKeepsEverySaleOnceSpaceIsBack) {
    FullDisk disk;
    GameWorld world(kNoon, {}, disk.filePath(QStringLiteral("Pipfield/orchard.json")));
    auto game = world.launch(orchardWithCoins(100), kNoon);
    const std::string before = readFile(world.store.path());
    ASSERT_TRUE(readSave(world.store.path()));

    disk.fill();
    MessageLog log("pipfield.save");
    world.clock.advance(1);
    EXPECT_GT(game->sellAll(), 0);
    EXPECT_EQ(readFile(world.store.path()), before);
    EXPECT_EQ(log.warnings.size(), 1);
    // A failed save counts as a save: the clock tries again after 30 s, not on every tick.
    game->tick(addSeconds(kNoon, 20));
    EXPECT_EQ(log.warnings.size(), 1);
    game->tick(addSeconds(kNoon, 32));
    EXPECT_EQ(log.warnings.size(), 2);
    EXPECT_EQ(readFile(world.store.path()), before);

    disk.free();
    game->tick(addSeconds(kNoon, 63));
    const std::optional<Save> saved = world.saved();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->orchard, game->live());
    EXPECT_EQ(saved->orchard.crateCount(), 0);
    EXPECT_EQ(log.warnings.size(), 2);
}

// What an older version left on a full disk: an empty file, or one cut off where the space ran out.
class FullDiskStart : public testing::TestWithParam<int> {};

TEST_P(FullDiskStart, ContinuesFromThePreviousSaveAndKeepsTheUnreadableFileAside) {
    FullDisk disk;
    GameWorld world(kNoon, {}, disk.filePath(QStringLiteral("Pipfield/orchard.json")));
    world.seed(orchardWithCoins(100), kNoon);
    world.launch();
    world.seed(orchardWithCoins(250), kNoon);
    // Another start: the file from before is now the previous save.
    world.launch();
    ASSERT_EQ(readSave(world.store.previousPath())->orchard.coins, 250);
    const std::string whole = readFile(world.store.path());
    writeFile(world.store.path(), whole.substr(0, static_cast<std::size_t>(GetParam()) * whole.size() / 2));
    disk.fill();

    MessageLog log("pipfield.save");
    auto game = world.launch();
    EXPECT_EQ(game->live().coins, 250);
    ASSERT_GE(log.warnings.size(), 1);
    EXPECT_TRUE(log.warnings[0].contains(QStringLiteral("continuing from the previous save")))
        << log.warnings[0].toStdString();
    EXPECT_TRUE(
        disk.entries(QStringLiteral("Pipfield")).contains(QStringLiteral("orchard.unreadable-20261014-120000.json")));
}

INSTANTIATE_TEST_SUITE_P(EmptyOrCutShort, FullDiskStart, testing::Values(0, 1));

TEST(FullDisk, ThePreviousSaveIsCopiedWhereNoHardLinkReaches) {
    // The file on the test's temporary file system, the copy on the small one: no hard link joins two
    // file systems, so the copy is written out.
    FullDisk disk;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orchard.json"));
    ASSERT_EQ(FileReplacement::replace(path, "old"), std::nullopt);
    FileReplacement file(path);
    ASSERT_EQ(file.write("new"), std::nullopt);
    EXPECT_EQ(file.keepCurrentAs(disk.filePath(QStringLiteral("previous.json"))), std::nullopt);
    EXPECT_EQ(file.commit(), std::nullopt);
    EXPECT_EQ(readFile(disk.filePath(QStringLiteral("previous.json"))), "old");
    EXPECT_EQ(readFile(path), "new");
}

TEST(FullDisk, AWriteRefusedForAnotherReasonSaysThatReasonNotAFullDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    ASSERT_EQ(FileReplacement::replace(path, "old"), std::nullopt);
    // A limit on file size: the first write takes what fits, the next is refused as too large.
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::optional<QString> why = FileReplacement::replace(path, QByteArray(1 << 16, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(why, QStringLiteral("File too large"));
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
}

} // namespace
} // namespace pipfield::test
