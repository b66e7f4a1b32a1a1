#include "game/FileReplacement.h"
#include "support/GameTestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <limits>
#include <sys/wait.h>
#include <unistd.h>

namespace pipfield::test {
namespace {

TEST(GamePersistence, TheFirstTickSavesTheFileJustRead) {
    GameWorld world(kSummerNoon);
    Orchard o = Orchard::starter();
    o.coins = 777;
    auto game = world.launch(o, addSeconds(kSummerNoon, -60), {{"2026-W29", Totals{}}});
    EXPECT_EQ(game->live().coins, 777);
    EXPECT_EQ(world.saved(), (Save{game->live(), referenceSeconds(kSummerNoon), game->weekStarts()}));
}

TEST(GamePersistence, AnUndecodableFileIsKeptAsideAndReplacedByTheStarter) {
    // Damaged text, and a file of a later version with a kind this one does not know.
    const std::string documents[] = {
        "{\"orchard\": {\"trees\": [",
        R"({"orchard":{"trees":[{"kind":"kiwi","age":1,"progress":0,"fruit":0}],"workers":{}},)"
        R"("lastUpdated":0,"weekStarts":{}})",
    };
    // Both within one second: the second is kept under a name of its own.
    const char* keptAs[] = {"orchard.unreadable-20260715-120000.json", "orchard.unreadable-20260715-120000-2.json"};
    GameWorld world(kSummerNoon);
    // The save before it is damaged too, so there is nothing to continue from.
    writeFile(world.store.previousPath(), "{\"orchard\":");
    for (int i = 0; i < 2; ++i) {
        writeFile(world.store.path(), documents[i]);
        MessageLog log("pipfield.save");
        auto game = world.launch();
        ASSERT_EQ(log.warnings.size(), 1) << documents[i];
        EXPECT_TRUE(log.warnings[0].contains(keptAs[i]) &&
                    log.warnings[0].contains(QStringLiteral("starting a new game")))
            << log.warnings[0].toStdString();

        EXPECT_EQ(game->live(), Orchard::starter());
        EXPECT_EQ(world.saved(), (Save{Orchard::starter(), referenceSeconds(kSummerNoon), game->weekStarts()}));
        EXPECT_EQ(readFile(QFileInfo(world.store.path()).dir().filePath(keptAs[i])), documents[i]);
    }
}

TEST(GamePersistence, DemoModeNeverReadsOrWritesTheFile) {
    GameWorld world(kSummerNoon, {{QStringLiteral("demo"), QStringLiteral("late")}});
    auto first = world.launch();
    first->sellAll();
    first->tick(addSeconds(kSummerNoon, 120));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(world.store.path()).path()));

    writeFile(world.store.path(), "not a save");
    auto second = world.launch();
    second->setLook({1, 2, "데모"}, WorkerRole::planter, 0);
    EXPECT_EQ(second->live().coins, Game::lateDemo().coins);
    EXPECT_EQ(readFile(world.store.path()), "not a save");
    EXPECT_EQ(QFileInfo(world.store.path()).dir().entryList(QDir::Files).size(), 1);
}

TEST(GamePersistence, ChangesSaveAtOnceAndTicksOnlyEveryThirtySeconds) {
    GameWorld world(kSummerNoon);
    auto game = world.launch();
    auto savedAt = [&] { return world.saved()->lastUpdated - referenceSeconds(kSummerNoon); };

    game->tick(addSeconds(kSummerNoon, 10));
    EXPECT_EQ(savedAt(), 0);

    world.clock.set(addSeconds(kSummerNoon, 15));
    game->setLook({0, 3, "Ann"}, WorkerRole::harvester, 0);
    EXPECT_EQ(world.saved()->orchard.looks.at("harvester-0").name, "Ann");
    EXPECT_EQ(savedAt(), 10);

    game->tick(addSeconds(kSummerNoon, 20));
    EXPECT_EQ(savedAt(), 10);

    world.clock.set(addSeconds(kSummerNoon, 25));
    game->sellAll();
    EXPECT_EQ(savedAt(), 25);

    game->tick(addSeconds(kSummerNoon, 55));
    EXPECT_EQ(savedAt(), 25);
    game->tick(addSeconds(kSummerNoon, 55.5));
    EXPECT_EQ(savedAt(), 55.5);
}

TEST(GamePersistence, AStateThatCannotBeWrittenLeavesTheFileAndIsSaidOnceARun) {
    GameWorld world(kSummerNoon);
    ASSERT_EQ(world.store.write(Save{Orchard::starter(), 0, {}}), SaveStore::WriteResult::written);
    const std::string before = readFile(world.store.path());
    Save odd{Orchard::starter(), 0, {}};
    odd.orchard.trees[0].progress = std::numeric_limits<double>::infinity();
    MessageLog log("pipfield.save");
    EXPECT_EQ(world.store.write(odd), SaveStore::WriteResult::unencodable);
    EXPECT_EQ(world.store.write(odd), SaveStore::WriteResult::unencodable);
    EXPECT_EQ(log.warnings.size(), 1) << "retried on every tick, said once";
    EXPECT_EQ(readFile(world.store.path()), before);
    // A save that lands in between ends the run: the next failure is said again.
    EXPECT_EQ(world.store.write(Save{Orchard::starter(), 1, {}}), SaveStore::WriteResult::written);
    EXPECT_EQ(world.store.write(odd), SaveStore::WriteResult::unencodable);
    EXPECT_EQ(log.warnings.size(), 2);
}

TEST(GamePersistence, ASaveKeepsThePermissionsThePlayerGaveTheFile) {
    GameWorld world(kSummerNoon);
    ASSERT_EQ(world.store.write(Save{Orchard::starter(), 0, {}}), SaveStore::WriteResult::written);
    const QFile::Permissions own = QFile::ReadOwner | QFile::WriteOwner;
    ASSERT_TRUE(QFile::setPermissions(world.store.path(), own));
    ASSERT_EQ(world.store.write(Save{Orchard::starter(), 1, {}}), SaveStore::WriteResult::written);
    EXPECT_EQ(QFile::permissions(world.store.path()) & ~(QFile::ReadUser | QFile::WriteUser), own);
}

TEST(GamePersistence, APreviousSaveThatIsTheFileItselfLeavesNoOtherNameBehind) {
    GameWorld world(kSummerNoon);
    ASSERT_EQ(world.store.write(Save{Orchard::starter(), 0, {}}), SaveStore::WriteResult::written);
    ASSERT_EQ(::link(QFile::encodeName(world.store.path()).constData(),
                     QFile::encodeName(world.store.previousPath()).constData()),
              0);
    ASSERT_EQ(world.store.write(Save{Orchard::starter(), 1, {}}), SaveStore::WriteResult::written);
    EXPECT_EQ(QFileInfo(world.store.path()).dir().entryList(QDir::Files | QDir::Hidden),
              QStringList({"orchard.json", "orchard.previous.json"}));
}

TEST(GamePersistence, AFolderWhereTheSaveBelongsFailsTheSaveAndLeavesNothingBehind) {
    GameWorld world(kSummerNoon);
    ASSERT_TRUE(QDir().mkpath(world.store.path()));
    MessageLog log("pipfield.save");
    EXPECT_EQ(world.store.write(Save{Orchard::starter(), 0, {}}), SaveStore::WriteResult::ioFailed);
    ASSERT_FALSE(log.warnings.empty());
    EXPECT_TRUE(log.warnings.back().contains("not saved: cannot replace")) << log.warnings.back().toStdString();
    EXPECT_EQ(QFileInfo(world.store.path()).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"orchard.json"});

    // Found there at start, it is a save that cannot be read: said, and a new game begins.
    const auto game = world.launch();
    EXPECT_EQ(game->live(), Orchard::starter());
    ASSERT_FALSE(log.warnings.empty());
    EXPECT_TRUE(log.warnings.back().contains("cannot read")) << log.warnings.back().toStdString();
}

TEST(FileReplacement, WrittenAgainOnlyTheLastContentIsKeptAndNothingElse) {
    QTemporaryDir dir;
    FileReplacement file(dir.filePath("file"));
    ASSERT_EQ(file.write("first"), std::nullopt);
    // One byte, as the end of a longer content that a write loop could leave out.
    ASSERT_EQ(file.write("2"), std::nullopt);
    ASSERT_EQ(file.commit(), std::nullopt);
    EXPECT_EQ(readFile(dir.filePath("file")), "2");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file"});
}

TEST(FileReplacement, AFileThatCannotTakeTheNewNameLeavesNothingBehind) {
    QTemporaryDir dir;
    // A folder where the file should be: the new content cannot be renamed over it.
    ASSERT_TRUE(QDir(dir.path()).mkpath("file/inside"));
    EXPECT_EQ(FileReplacement::replace(dir.filePath("file"), "bytes"), QStringLiteral("Is a directory"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(FileReplacement, ATemporaryFileLeftByAKilledSaveDoesNotStopTheNext) {
    QTemporaryDir dir;
    const QString path = dir.filePath("file");
    const pid_t child = ::fork();
    if (child == 0) {
        // Gone before the new content takes the file's name, and without cleaning up, as when killed.
        FileReplacement killed(path);
        ::_exit(killed.write("half") ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(FileReplacement::replace(path, "whole"), std::nullopt);
    EXPECT_EQ(readFile(path), "whole");
}

TEST(FileReplacement, SavesLeaveNoDescriptorOpen) {
    // The game saves every 30 s for as long as it runs: a descriptor kept per save would use up the
    // process's allowance within a day.
    QTemporaryDir dir;
    const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const auto before = descriptors();
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(FileReplacement::replace(dir.filePath("file"), "bytes"), std::nullopt);
    }
    EXPECT_EQ(descriptors(), before);
}

TEST(GamePersistence, TheSavedOrchardIsTheWorkingCopy) {
    GameWorld world(kSummerNoon);
    auto game = world.launch(bareOrchard({{TreeKind::eureka, 300, 10, 1}}), kSummerNoon);

    game->tick(addSeconds(kSummerNoon, 31));
    ASSERT_NE(game->orchard(), game->live());
    EXPECT_EQ(world.saved()->orchard, game->live());
}

TEST(GamePersistence, AFolderThatCannotBeCreatedDoesNotStopTheGame) {
    QTemporaryDir dir;
    writeFile(dir.filePath("blocker"), "a file where the folder should be");
    GameWorld world(kSummerNoon, {}, dir.filePath("blocker/Pipfield/orchard.json"));
    MessageLog log("pipfield.save");
    auto game = world.launch();
    EXPECT_EQ(log.warnings.size(), 1);
    // Retried on the save cadence (see the full-disk tests); the game plays on meanwhile.
    world.clock.set(addSeconds(kSummerNoon, 600));
    EXPECT_GE(game->sellAll(), 1);
    EXPECT_EQ(world.store.write(Save{game->live(), 0, {}}), SaveStore::WriteResult::ioFailed);
    EXPECT_TRUE(log.warnings.back().contains("blocker/Pipfield/orchard.json")) << log.warnings.back().toStdString();
}

TEST(GamePersistence, AnUnreadableFileThatCannotBeSetAsideIsNeverWrittenOver) {
    GameWorld world(kSummerNoon);
    writeFile(world.store.path(), "damaged");
    // Every name the file could be kept under is taken.
    const QDir folder = QFileInfo(world.store.path()).dir();
    writeFile(folder.filePath("orchard.unreadable-20260715-120000.json"), "kept before");
    for (int n = 2; n < 100; ++n) {
        writeFile(folder.filePath(QStringLiteral("orchard.unreadable-20260715-120000-%1.json").arg(n)), "kept before");
    }
    MessageLog log("pipfield.save");
    auto game = world.launch();

    EXPECT_EQ(game->live(), Orchard::starter());
    EXPECT_EQ(readFile(world.store.path()), "damaged");
    ASSERT_EQ(log.warnings.size(), 2);
    EXPECT_TRUE(log.warnings[0].contains("nor set it aside")) << log.warnings[0].toStdString();
    EXPECT_TRUE(log.warnings[1].contains("not saved")) << log.warnings[1].toStdString();

    // The game plays on in memory; its saves are refused.
    world.clock.set(addSeconds(kSummerNoon, 600));
    EXPECT_GE(game->sellAll(), 1);
    EXPECT_EQ(world.store.write(Save{game->live(), 0, {}}), SaveStore::WriteResult::refused);
    EXPECT_EQ(readFile(world.store.path()), "damaged");
    EXPECT_EQ(readFile(folder.filePath("orchard.unreadable-20260715-120000-99.json")), "kept before");
}

} // namespace
} // namespace pipfield::test
