#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "GameTestSupport.h"

namespace pipfield::test {
namespace {

const Instant kNoon = localInstant(2026, 7, 15, 12);

TEST(GamePersistence, FirstRunWritesTheStarterOrchardThatReadsBack) {
    GameWorld world(kNoon);
    auto game = world.launch();

    EXPECT_EQ(game->live(), Orchard::starter());
    EXPECT_EQ(QFileInfo(world.store.path()).dir().dirName(), QStringLiteral("Pipfield"));
    const std::optional<Save> saved = world.saved();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->orchard, game->live());
    EXPECT_DOUBLE_EQ(saved->lastUpdated, referenceSeconds(kNoon));
    EXPECT_EQ(saved->weekStarts, game->weekStarts());
}

TEST(GamePersistence, TheFirstTickSavesAFileThatWasJustRead) {
    GameWorld world(kNoon);
    Orchard o = Orchard::starter();
    o.coins = 777;
    world.seed(o, addSeconds(kNoon, -60), {{"2026-W29", Totals{}}});
    auto game = world.launch();

    EXPECT_EQ(game->live().coins, 777);
    const std::optional<Save> saved = world.saved();
    ASSERT_TRUE(saved);
    EXPECT_DOUBLE_EQ(saved->lastUpdated, referenceSeconds(kNoon));
    EXPECT_EQ(saved->orchard, game->live());
}

TEST(GamePersistence, AnUndecodableFileIsKeptAsideAndReplacedByTheStarter) {
    // Damaged text, and a file of a later version with a kind this one does not know.
    const std::string documents[] = {
        "{\"orchard\": {\"trees\": [",
        R"({"orchard":{"trees":[{"kind":"kiwi","age":1,"progress":0,"fruit":0}],"workers":{}},)"
        R"("lastUpdated":0,"weekStarts":{}})",
    };
    for (const std::string& document : documents) {
        GameWorld world(kNoon);
        writeFile(world.store.path(), document);
        auto game = world.launch();

        EXPECT_EQ(game->live(), Orchard::starter());
        EXPECT_EQ(game->lastUpdated(), kNoon);
        const std::optional<Save> saved = world.saved();
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->orchard, Orchard::starter());
        const QString kept = QFileInfo(world.store.path()).dir().filePath("orchard.unreadable-20260715-120000.json");
        EXPECT_EQ(readFile(kept), document);
    }
}

TEST(GamePersistence, TwoUnreadableFilesInOneSecondAreBothKept) {
    GameWorld world(kNoon);
    writeFile(world.store.path(), "first");
    world.launch();
    writeFile(world.store.path(), "second");
    world.launch();

    const QDir folder = QFileInfo(world.store.path()).dir();
    EXPECT_EQ(readFile(folder.filePath("orchard.unreadable-20260715-120000.json")), "first");
    EXPECT_EQ(readFile(folder.filePath("orchard.unreadable-20260715-120000-2.json")), "second");
}

TEST(GamePersistence, DemoModeNeverReadsOrWritesTheFile) {
    GameWorld world(kNoon, {QStringLiteral("pipfield"), QStringLiteral("-demo"), QStringLiteral("late")});
    auto first = world.launch();
    first->sellAll();
    first->tick(addSeconds(kNoon, 120));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(world.store.path()).path()));

    writeFile(world.store.path(), "not a save");
    auto second = world.launch();
    second->setLook({1, 2, "데모"}, WorkerRole::planter, 0);
    EXPECT_EQ(second->live().coins, Game::lateDemo().coins);
    EXPECT_EQ(readFile(world.store.path()), "not a save");
    EXPECT_EQ(QFileInfo(world.store.path()).dir().entryList(QDir::Files).size(), 1);
}

TEST(GamePersistence, ChangesSaveAtOnceAndTicksOnlyEveryThirtySeconds) {
    GameWorld world(kNoon);
    auto game = world.launch();
    auto savedAt = [&] { return world.saved()->lastUpdated - referenceSeconds(kNoon); };

    game->tick(addSeconds(kNoon, 10));
    EXPECT_EQ(savedAt(), 0);

    world.clock.set(addSeconds(kNoon, 15));
    game->setLook({0, 3, "Ann"}, WorkerRole::harvester, 0);
    EXPECT_EQ(world.saved()->orchard.looks.at("harvester-0").name, "Ann");
    EXPECT_EQ(savedAt(), 10);

    game->tick(addSeconds(kNoon, 20));
    EXPECT_EQ(savedAt(), 10);

    world.clock.set(addSeconds(kNoon, 25));
    game->sellAll();
    EXPECT_EQ(savedAt(), 25);

    game->tick(addSeconds(kNoon, 55));
    EXPECT_EQ(savedAt(), 25);
    game->tick(addSeconds(kNoon, 55.5));
    EXPECT_EQ(savedAt(), 55.5);
}

TEST(GamePersistence, TheSavedOrchardIsTheWorkingCopy) {
    GameWorld world(kNoon);
    world.seed(bareOrchard({{TreeKind::eureka, 300, 10, 1}}), kNoon);
    auto game = world.launch();

    game->tick(addSeconds(kNoon, 31));
    ASSERT_NE(game->orchard(), game->live());
    EXPECT_EQ(world.saved()->orchard, game->live());
}

TEST(GamePersistence, AFolderThatCannotBeCreatedDoesNotStopTheGame) {
    QTemporaryDir dir;
    writeFile(dir.filePath("blocker"), "a file where the folder should be");
    Defaults defaults(dir.filePath("Pipfield.conf"));
    defaults.registerDefaults(Defaults::standardDefaults());
    FakeClock clock(kNoon);
    FakeNotifier notifier;
    SaveStore store(dir.filePath("blocker/Pipfield/orchard.json"));
    Game game(defaults, clock, notifier, store);

    clock.advance(600);
    game.tick(clock.now());
    EXPECT_GE(game.sellAll(), 1);
    EXPECT_EQ(store.write(Save{game.live(), 0, {}}), std::optional<bool>(false));
}

} // namespace
} // namespace pipfield::test
