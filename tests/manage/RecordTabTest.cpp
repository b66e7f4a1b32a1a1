#include "manage/RecordTab.h"

#include "card/WeeklyCard.h"
#include "support/ManageTestSupport.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(RecordTab, ShowsThisWeekAndSavesOrCopiesIt) {
    ManageWorld world;
    RecordTab tab(*world.game, world.sprites, world.saveDialog);
    EXPECT_EQ(tab.card().weekStart, world.game->weekStart());
    EXPECT_EQ(tab.card().stats, world.game->thisWeek());

    world.saveDialog.answer = world.dir.filePath(QStringLiteral("card.png"));
    tab.saveButton()->click();
    EXPECT_EQ(world.saveDialog.proposed.back(), QStringLiteral("Pipfield-2026-W14.png"));
    EXPECT_TRUE(QFile::exists(world.saveDialog.answer));

    tab.copyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(1200, 760));
}

} // namespace
} // namespace pipfield::test
