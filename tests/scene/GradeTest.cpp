#include "scene/Grade.h"

#include "scene/OrchardView.h"

#include <QColor>

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace pipfield;
using Palette::Period;
using Palette::Theme;

namespace {

TEST(Grade, ThemeThenTimeOfDayThenADarkDesktop) {
    const auto fields = [](const Grade& g) { return std::array{g.mulR, g.mulG, g.mulB, g.addR, g.addG, g.addB}; };
    // Theme, hour, time-of-day light, dark desktop, and the grade. The theme's offsets pass through the
    // period's multipliers; a dark desktop dims only daylight, so with the time-of-day light off the night
    // hour does not count.
    const std::tuple<Theme, int, bool, bool, Grade> cases[] = {
        {Theme::sunny, 22, false, false, {}},
        {Theme::moon, 3, false, false, {0.86, 0.9, 1.04, 0, 0, 8}},
        {Theme::sunset, 22, true, false, {0.63, 0.646, 0.7912, 2.4, 4, 16}},
        {Theme::blossom, 6, true, false, {1.0608, 0.9409, 0.9486, 16.4, 0, 5.58}},
        {Theme::moon, 22, true, true, {0.516, 0.612, 0.9568, 0, 4, 23.36}},
        {Theme::blossom, 12, true, true, {0.9588, 0.9118, 0.9792, 9.4, 0, 5.76}},
        {Theme::sunny, 22, false, true, {0.94, 0.94, 0.96, 0, 0, 0}},
    };
    for (const auto& [theme, hour, light, dark, want] : cases) {
        const auto got = fields(Grade::rule(theme, hour, light, dark));
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i], fields(want)[i], 1e-9)
                << qPrintable(Palette::rawValue(theme)) << " at " << hour << (light ? " lit" : "")
                << (dark ? " dark" : "") << ", field " << i;
        }
    }
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
