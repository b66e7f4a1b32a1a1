#include "manage/RecordTab.h"

#include "card/WeeklyCard.h"
#include "support/GameTestSupport.h"
#include "support/ManageTestSupport.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
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

TEST(RecordTab, AFailedExportTellsThePlayerWhyAndACancelSaysNothing) {
    ManageWorld world;
    RecordTab tab(*world.game, world.sprites, world.saveDialog);
    EXPECT_FALSE(tab.exportFailure()->isVisibleTo(&tab));

    world.saveDialog.answer = world.dir.filePath(QStringLiteral("gone/card.png"));
    MessageLog log("pipfield.save");
    tab.saveButton()->click();
    EXPECT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(tab.exportFailure()->isVisibleTo(&tab));
    EXPECT_EQ(tab.exportFailure()->text(), QStringLiteral("이미지를 저장하지 못했어요: No such file or directory"));

    world.saveDialog.answer.clear();
    tab.saveButton()->click();
    EXPECT_FALSE(tab.exportFailure()->isVisibleTo(&tab));
}

} // namespace
} // namespace pipfield::test
