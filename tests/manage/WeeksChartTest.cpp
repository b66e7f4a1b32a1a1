#include "manage/WeeksChart.h"

#include "manage/RecordTab.h"
#include "support/ManageTestSupport.h"

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

WeekRecord week(const char* key, std::optional<Totals> done, bool current = false) {
    return {QString::fromLatin1(key), done, current};
}

// How many pixels of the colour lie in the rectangle (in points) of the rendered chart.
int count(const QImage& image, const QRect& area, const QColor& color) {
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels(qRound(area.left() * ratio), qRound(area.top() * ratio), qRound(area.width() * ratio),
                       qRound(area.height() * ratio));
    return inkWhere(image, pixels, [&](QPoint p) { return image.pixelColor(p).rgb() == color.rgb(); }).count;
}

QRect columnArea(const WeeksChart& chart, int index) {
    // Below the legend, down to the baseline.
    const int w = chart.width() / WeeksChart::kWeeks;
    return QRect(index * w, 21, w, chart.baseline() - 21);
}

TEST(WeeksChart, BarsScaleToTheBestWeekAndEmptyWeeksStayEmpty) {
    ManageWorld world;
    WeeksChart chart(world.sprites);
    std::vector<WeekRecord> weeks;
    for (int i = 0; i < 5; ++i) {
        weeks.push_back(week("2026-W30", std::nullopt)); // no record: before the game or not run
    }
    weeks.push_back(week("2026-W35", Totals{100, 90, 50, 0}));
    weeks.push_back(week("2026-W36", Totals{0, 0, 0, 0})); // ran, did nothing
    weeks.push_back(week("2026-W37", Totals{25, 20, 200, 1}, true));
    chart.setWeeks(weeks);
    const QImage image = chart.grab().toImage();

    // The best week of each measure reaches the full height; the others in whole art pixels of it.
    EXPECT_EQ(chart.fruitBar(5).height(), WeeksChart::kBarHeight);
    EXPECT_EQ(chart.coinBar(7).height(), WeeksChart::kBarHeight);
    EXPECT_EQ(chart.fruitBar(7).height(), 12); // a quarter of 44, rounded up to whole art pixels
    EXPECT_EQ(chart.coinBar(5).height(), 12);
    EXPECT_EQ(chart.fruitBar(5).bottom(), chart.baseline() - 1);

    // What is on screen: filled bars where weeks did something, nothing at all over the others.
    EXPECT_GT(count(image, chart.fruitBar(5), fruitBarColor()), 200);
    EXPECT_GT(count(image, chart.coinBar(7), coinBarColor()), 200);
    for (int i : {0, 1, 2, 3, 4, 6}) {
        EXPECT_EQ(count(image, columnArea(chart, i), fruitBarColor()), 0) << i;
        EXPECT_EQ(count(image, columnArea(chart, i), coinBarColor()), 0) << i;
    }
    // Nothing drawn above a bar's top.
    const QRect aboveFruit(chart.fruitBar(7).left(), 22, chart.fruitBar(7).width(), chart.fruitBar(7).top() - 23);
    EXPECT_EQ(count(image, aboveFruit, fruitBarColor()), 0);

    // The current week is marked: its column's empty space differs from a past week's.
    const qreal r = image.devicePixelRatio();
    const QPoint markedSpot = (QPointF(7 * 60 + 8, 30) * r).toPoint();
    const QPoint pastSpot = (QPointF(6 * 60 + 8, 30) * r).toPoint();
    EXPECT_NE(image.pixelColor(markedSpot).rgb(), image.pixelColor(pastSpot).rgb());
}

TEST(WeeksChart, AGameOfOneWeekShowsOneBar) {
    Orchard o = idleOrchard();
    o.crate.set(TreeKind::eureka, 12);
    ManageWorld world(o);
    RecordTab tab(*world.game, world.sprites, world.saveDialog);
    tab.show(); // a hidden tab waits to be shown before it follows the game
    WeeksChart& chart = *tab.chart();
    ASSERT_EQ(chart.weeks().size(), 8u);
    EXPECT_EQ(std::count_if(chart.weeks().begin(), chart.weeks().end(),
                            [](const WeekRecord& w) { return w.done.has_value(); }),
              1);
    EXPECT_TRUE(chart.weeks().back().current);
    EXPECT_EQ(chart.coinBar(7).height(), 0);

    // A sale this week: its coin bar stands at full height, alone.
    ASSERT_GT(world.game->sellAll(), 0);
    EXPECT_EQ(chart.coinBar(7).height(), WeeksChart::kBarHeight);
    const QImage image = chart.grab().toImage();
    EXPECT_GT(count(image, chart.coinBar(7), coinBarColor()), 200);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(count(image, columnArea(chart, i), coinBarColor()), 0) << i;
    }
    EXPECT_EQ(count(image, columnArea(chart, 7), fruitBarColor()), 0) << "nothing picked this week";
}

} // namespace
} // namespace pipfield::test
