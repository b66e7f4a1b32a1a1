#include <gtest/gtest.h>

#include <QTabWidget>

#include "support/ManageTestSupport.h"

namespace pipfield::test {
namespace {

TEST(ManageWindow, FixedSizeTitleAndTabsInOrder) {
    ManageWorld world;
    auto window = world.window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("과수원 관리"));
    EXPECT_EQ(window->minimumSize(), QSize(600, 700));
    EXPECT_EQ(window->maximumSize(), QSize(600, 700));
    const QStringList titles = {QStringLiteral("과수원"), QStringLiteral("일꾼"), QStringLiteral("꾸미기"),
                                QStringLiteral("도감"),   QStringLiteral("기록"), QStringLiteral("설정")};
    ASSERT_EQ(window->tabs()->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(window->tabs()->tabText(i), titles[i]);
    }
}

TEST(ManageWindow, SelectedTabSurvivesAReopen) {
    ManageWorld world;
    {
        auto window = world.window();
        EXPECT_EQ(window->tabs()->currentIndex(), 0);
        window->tabs()->setCurrentIndex(4);
    }
    EXPECT_EQ(world.defaults.integer(QStringLiteral("manageTab")), 4);
    EXPECT_EQ(world.window()->tabs()->currentIndex(), 4);

    world.defaults.setValue(QStringLiteral("manageTab"), 99);
    EXPECT_EQ(world.window()->tabs()->currentIndex(), 0);
}

TEST(ManageWindow, RenderingATabLeavesThePlayersChoice) {
    ManageWorld world;
    auto window = world.window();
    window->tabs()->setCurrentIndex(2);
    const QImage shot = window->renderTab(5);
    EXPECT_EQ(shot.size(), QSize(600, 700) * shot.devicePixelRatio());
    EXPECT_EQ(window->tabs()->currentIndex(), 2);
    EXPECT_EQ(world.defaults.integer(QStringLiteral("manageTab")), 2);
}

} // namespace
} // namespace pipfield::test
