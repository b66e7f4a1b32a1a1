#include "support/ManageTestSupport.h"

#include <QTabWidget>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

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
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(window->tabs()->currentIndex(), 2);
    EXPECT_EQ(world.defaults.integer(QStringLiteral("manageTab")), 2);
}

} // namespace
} // namespace pipfield::test
