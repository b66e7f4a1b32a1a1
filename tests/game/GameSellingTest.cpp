#include "support/GameTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(GameSelling, SellingTheCrateTurnsItIntoCoins) {
    Orchard o = bareOrchard({});
    o.crate.set(TreeKind::meyer, 12); // 7 coins each
    o.coins = 5;
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon);
    QSignalSpy sales(game.get(), &Game::saleCountChanged);
    QSignalSpy published(game.get(), &Game::orchardChanged);

    world.clock.advance(5);
    EXPECT_EQ(game->sellAll(), 84);

    EXPECT_EQ(game->live().crateCount(), 0);
    EXPECT_EQ(game->live().coins, 89);
    EXPECT_EQ(game->live().totals.sold, 12);
    EXPECT_EQ(game->live().totals.earned, 84);
    EXPECT_EQ(game->lastSale(), 84);
    EXPECT_EQ(game->saleCount(), 1);
    EXPECT_EQ(sales.count(), 1);
    EXPECT_EQ(published.count(), 1);
    EXPECT_EQ(game->orchard(), game->live());
    EXPECT_EQ(world.saved()->orchard.coins, 89);
    EXPECT_EQ(game->thisWeek(), (Totals{0, 12, 84, 0}));
}

TEST(GameSelling, AnEmptyCrateSellsForNothingButStillSaves) {
    GameWorld world(kNoon);
    auto game = world.launch(bareOrchard({}), kNoon);
    QSignalSpy sales(game.get(), &Game::saleCountChanged);
    QSignalSpy amounts(game.get(), &Game::lastSaleChanged);

    world.clock.advance(5);
    EXPECT_EQ(game->sellAll(), 0);
    EXPECT_EQ(game->saleCount(), 0);
    EXPECT_EQ(game->lastSale(), 0);
    EXPECT_EQ(sales.count() + amounts.count(), 0);
    EXPECT_DOUBLE_EQ(world.saved()->lastUpdated, referenceSeconds(addSeconds(kNoon, 5)));
}

TEST(GameSelling, PickingEvenOneFruitByHandIsShownAndSavedAtOnce) {
    GameWorld world(kNoon);
    auto game = world.launch(bareOrchard({{TreeKind::eureka, 300, 0, 1}}), kNoon);
    QSignalSpy published(game.get(), &Game::orchardChanged);
    EXPECT_EQ(game->harvest(0), 1);
    EXPECT_EQ(published.count(), 1);
    EXPECT_EQ(world.saved()->orchard.crateCount(), 1);
}

TEST(GameBuying, TimeBeforeAPurchaseCountsForTheOrchardAsItWasAndASecondWorkerWearsItsLook) {
    Orchard o = bareOrchard({{TreeKind::eureka, 0, 0, 0}});
    o.workers.set(WorkerRole::planter, 10);
    o.coins = 2'000'000;
    GameWorld world(kNoon);
    auto game = world.launch(o, kNoon);
    world.clock.advance(60);
    ASSERT_TRUE(game->buy(Purchase::tree(TreeKind::eureka)));
    EXPECT_EQ(game->live().trees[0].age, 60);
    game->tick(world.clock.now());
    EXPECT_EQ(game->live().trees[1], (Tree{TreeKind::eureka, 0, 0, 0})) << "planted now: the minute before is not its";

    const WorkerLook look{1, 3, "보리"};
    EXPECT_TRUE(game->hireSecondWorker(WorkerRole::planter, look));
    EXPECT_EQ(game->live().look(WorkerRole::planter, 1), look);
    EXPECT_EQ(world.saved()->orchard, game->live());
}

// The calendar is Qt's; the game's part is the ISO week's own year, two digits and the local date:
// Monday 29 December 2025 at 00:30 in Seoul is still Sunday in UTC, and in 2026's first week.
TEST(WeekKeys, AreTheIsoWeekOfTheLocalDate) {
    EXPECT_EQ(Game::weekKey(localInstant(2025, 12, 29, 0, 30)).toStdString(), "2026-W01");
}

/// Runs a test in another time zone and returns to Seoul time after it.
class InTimeZone {
public:
    explicit InTimeZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InTimeZone() {
        setenv("TZ", "Asia/Seoul", 1);
        tzset();
    }
    InTimeZone(const InTimeZone&) = delete;
    InTimeZone& operator=(const InTimeZone&) = delete;
};

Instant utc(int year, int month, int day, int hour, int minute = 0) {
    return Instant{} +
           std::chrono::milliseconds(
               QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc()).toMSecsSinceEpoch());
}

TEST(WeekStart, FollowsTheLocalDateAcrossDaylightSavingChanges) {
    const InTimeZone berlin("Europe/Berlin");
    // Clocks go forward on Sunday 29 March 2026 and back on Sunday 25 October 2026.
    EXPECT_EQ(Game::weekStartOf(localInstant(2026, 3, 29, 12)), utc(2026, 3, 22, 23));
    EXPECT_EQ(secondsBetween(Game::weekStartOf(localInstant(2026, 3, 29, 12)), localInstant(2026, 3, 29, 12)),
              6.5 * 86400 - 3600);
    EXPECT_EQ(Game::weekStartOf(localInstant(2026, 3, 30, 0, 30)), utc(2026, 3, 29, 22));
    EXPECT_EQ(Game::weekStartOf(localInstant(2026, 10, 25, 23)), utc(2026, 10, 18, 22));
    EXPECT_EQ(Game::weekStartOf(localInstant(2026, 10, 26, 8)), utc(2026, 10, 25, 23));

    // Monday 00:30 in summer time is still Sunday in UTC; 23:30 on Sunday in winter time is Sunday in
    // both.
    EXPECT_EQ(Game::weekKey(localInstant(2026, 3, 30, 0, 30)).toStdString(), "2026-W14");
    EXPECT_EQ(Game::weekKey(localInstant(2026, 3, 29, 23, 59, 59)).toStdString(), "2026-W13");
    EXPECT_EQ(Game::weekKey(utc(2026, 10, 25, 23) - std::chrono::seconds(1)).toStdString(), "2026-W43");
    EXPECT_EQ(Game::weekKey(utc(2026, 10, 25, 23)).toStdString(), "2026-W44");
}

TEST(WeekStart, IsTheFirstInstantOfAMondayWithoutAMidnight) {
    // Iran moved its clocks from 00:00 to 01:00 on Monday 22 March 2021: that Monday began at 01:00.
    const InTimeZone tehran("Asia/Tehran");
    EXPECT_EQ(Game::weekStartOf(localInstant(2021, 3, 24, 12)), utc(2021, 3, 21, 20, 30));
    EXPECT_EQ(Game::weekKey(utc(2021, 3, 21, 20, 30)).toStdString(), "2021-W12");
}

TEST(ThisWeek, IsZeroWithoutASnapshotOfTheCurrentWeek) {
    GameWorld world(kNoon);
    Orchard o = bareOrchard({});
    o.totals = {50, 40, 300, 2};
    auto game = world.launch(o, kNoon, {{"2026-W42", Totals{10, 10, 100, 1}}});
    EXPECT_EQ(game->thisWeek(), (Totals{40, 30, 200, 1}));

    // The game itself has taken 2026-W43's snapshot only when a tick ran in that week.
    world.clock.set(localInstant(2026, 10, 19, 9));
    EXPECT_EQ(game->thisWeek(), Totals{});
}

} // namespace
} // namespace pipfield::test
