#include "scene/Grade.h"

#include "scene/OrchardView.h"

#include <QColor>

#include <gtest/gtest.h>

using namespace pipfield;
using Palette::Period;
using Palette::Theme;

namespace {

TEST(Grade, ThemeAloneWithoutTimeOfDay) {
    EXPECT_TRUE(Grade::rule(Theme::sunny, 22, false, false).isIdentity());
    EXPECT_EQ(Grade::rule(Theme::moon, 3, false, false), (Grade{0.86, 0.9, 1.04, 0, 0, 8}));
}

TEST(Grade, PeriodCombinesWithTheTheme) {
    const Grade g = Grade::rule(Theme::sunset, 22, true, false);
    EXPECT_DOUBLE_EQ(g.mulR, 1.05 * 0.6);
    EXPECT_DOUBLE_EQ(g.mulB, 0.86 * 0.92);
    EXPECT_DOUBLE_EQ(g.addR, 2.4);
    EXPECT_DOUBLE_EQ(g.addG, 4);
    EXPECT_DOUBLE_EQ(g.addB, 16);
    const Grade blossomDawn = Grade::rule(Theme::blossom, 6, true, false);
    EXPECT_DOUBLE_EQ(blossomDawn.addR, 10 * 1.04 + 6);
    EXPECT_DOUBLE_EQ(blossomDawn.addB, 6 * 0.93);
}

TEST(Grade, DarkAppearanceDimsOnlyDaylight) {
    EXPECT_EQ(Grade::rule(Theme::moon, 22, true, true), Grade::rule(Theme::moon, 22, true, false));
    const Grade noon = Grade::rule(Theme::blossom, 12, true, true);
    EXPECT_DOUBLE_EQ(noon.mulR, 1.02 * 0.94);
    EXPECT_DOUBLE_EQ(noon.addR, 10 * 0.94);
    EXPECT_DOUBLE_EQ(noon.mulB, 1.02 * 0.96);
    EXPECT_DOUBLE_EQ(noon.addB, 6 * 0.96);
    // with the time-of-day light off the night hour does not count: dimmed
    EXPECT_DOUBLE_EQ(Grade::rule(Theme::sunny, 22, false, true).mulG, 0.94);
}

TEST(GradeRule, AppliedToAColourRoundsHalvesUpAndStaysInRange) {
    EXPECT_EQ(Grade{}.apply(QColor(1, 2, 3)), QColor(1, 2, 3));
    // 0.5 x 3 = 1.5 rounds to 2; 250 + 20 holds at 255; 10 - 40 holds at 0.
    EXPECT_EQ((Grade{0.5, 1, 1, 0, 20, -40}).apply(QColor(3, 250, 10)), QColor(2, 255, 0));
}

TEST(OrchardClock, PeriodFollowsTheHourOnlyWithTimeOfDayLight) {
    const std::pair<int, Period> hours[] = {{7, Period::dawn},  {8, Period::day},    {19, Period::dusk},
                                            {4, Period::night}, {30, Period::night}, {-1, Period::night}};
    for (const auto& [hour, period] : hours) {
        EXPECT_EQ(OrchardView::period(true, hour), period) << hour;
    }
    EXPECT_EQ(OrchardView::period(false, 22), Period::day);
}

} // namespace
