#include "game/WeekHistory.h"

#include "support/GameTestSupport.h"

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(WeekHistory, EightWeeksFromTheSnapshotsWithGapsLeftEmpty) {
    // Wednesday 14 October 2026 lies in 2026-W42.
    const Instant now = localInstant(2026, 10, 14, 12);
    const std::map<std::string, Totals> starts = {
        {"2026-W34", {10, 0, 0, 0}}, // older than the eight weeks shown
        {"2026-W36", {100, 90, 1000, 3}},
        {"2026-W40", {400, 380, 5000, 5}},
        {"2026-W42", {700, 650, 9000, 8}},
    };
    const Totals latest{760, 700, 9900, 9};
    const std::vector<WeekRecord> weeks = recentWeeks(starts, latest, now, 8);

    // A week runs to the next snapshot kept: the weeks the game did not run add to the one before.
    const std::pair<const char*, std::optional<Totals>> expected[] = {
        {"2026-W35", std::nullopt}, {"2026-W36", Totals{300, 290, 4000, 2}},
        {"2026-W37", std::nullopt}, {"2026-W38", std::nullopt},
        {"2026-W39", std::nullopt}, {"2026-W40", Totals{300, 270, 4000, 3}},
        {"2026-W41", std::nullopt}, {"2026-W42", Totals{60, 50, 900, 1}}};
    ASSERT_EQ(weeks.size(), 8u);
    for (std::size_t i = 0; i < weeks.size(); ++i) {
        EXPECT_EQ(weeks[i].key, expected[i].first);
        EXPECT_EQ(weeks[i].done, expected[i].second) << weeks[i].key.toStdString();
        EXPECT_EQ(weeks[i].current, i == 7);
    }
}

TEST(WeekHistory, ANewGameHasOnlyThisWeekAndTheYearsTurnKeepsIsoWeeks) {
    // Friday 1 January 2027 is in 2026-W53.
    const Instant now = localInstant(2027, 1, 1, 9);
    const std::vector<WeekRecord> weeks = recentWeeks({{"2026-W53", {0, 0, 0, 0}}}, {12, 10, 80, 1}, now, 8);
    ASSERT_EQ(weeks.size(), 8u);
    EXPECT_EQ(weeks.front().key, "2026-W46");
    EXPECT_EQ(weeks[6].key, "2026-W52");
    EXPECT_EQ(weeks.back().key, "2026-W53");
    EXPECT_EQ(std::count_if(weeks.begin(), weeks.end(), [](const WeekRecord& w) { return w.done.has_value(); }), 1);
    EXPECT_EQ(weeks.back().done, (Totals{12, 10, 80, 1}));
}

TEST(WeekHistory, WithNoSnapshotOfThisWeekTheLastWeekKeptRunsToNow) {
    // As in a save last played in 2026-W52 and read again in 2026-W53.
    const std::vector<WeekRecord> weeks =
        recentWeeks({{"2026-W52", {2, 0, 5, 0}}}, {12, 10, 80, 1}, localInstant(2027, 1, 1, 9), 2);
    ASSERT_EQ(weeks.size(), 2u);
    EXPECT_EQ(weeks[0].done, (Totals{10, 10, 75, 1}));
    EXPECT_EQ(weeks[1].done, std::nullopt);
}

} // namespace
} // namespace pipfield::test
