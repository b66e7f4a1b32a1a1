#include "manage/OrchardTab.h"

#include "manage/BuyButton.h"
#include "manage/Label.h"
#include "support/ManageTestSupport.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(OrchardTab, FullFieldDisablesEveryPlantButton) {
    Orchard o = idleOrchard(100000);
    o.unlocked.insert(TreeKind::kumquat);
    o.trees.assign(10, Tree{TreeKind::eureka, 300, 0, 0});
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    int plant = 0;
    for (KindRow* row : tab.kindRows()) {
        if (row->button()->purchase().what == Purchase::Case::tree) {
            ++plant;
            EXPECT_EQ(row->button()->title(), QStringLiteral("심기"));
            EXPECT_FALSE(row->button()->isEnabled());
            EXPECT_EQ(row->button()->toolTip(), QStringLiteral("밭이 다 찼어요"));
        }
    }
    EXPECT_EQ(plant, 2);
    EXPECT_TRUE(tab.fieldFooter()->text().startsWith(QStringLiteral("밭 10 / 10칸.")));
    EXPECT_EQ(tab.kindRows()[0]->countLabel()->text(), QStringLiteral("10그루"));
    EXPECT_FALSE(tab.kindRows()[1]->countLabel()->isVisibleTo(&tab));
}

TEST(OrchardTab, PlantingThroughTheButtonChangesTheGameAndTheSaveFile) {
    ManageWorld world(idleOrchard(100));
    OrchardTab tab(*world.game, world.sprites);
    showAside(tab);
    BuyButton* plant = tab.kindRows()[0]->button();
    const std::int64_t price = *plant->price();
    ASSERT_TRUE(plant->isEnabled());
    EXPECT_EQ(plant->toolTip(), QStringLiteral("살 수 있어요"));

    plant->click();
    EXPECT_EQ(world.game->orchard().trees.size(), 2u);
    EXPECT_EQ(world.game->orchard().coins, 100 - price);
    EXPECT_EQ(tab.plotRows().size(), 2u);
    EXPECT_TRUE(tab.fieldFooter()->text().startsWith(QStringLiteral("밭 2 / 10칸.")));
    const std::optional<Orchard> saved = world.savedOrchard();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->trees.size(), 2u);
    EXPECT_EQ(saved->coins, 100 - price);
}

TEST(OrchardTab, UnlockedKindsOfferPlantingAndLockedOnesUnlocking) {
    ManageWorld world(idleOrchard(70));
    OrchardTab tab(*world.game, world.sprites);
    showAside(tab);
    BuyButton* kumquat = tab.kindRows()[1]->button();
    EXPECT_EQ(kumquat->title(), QStringLiteral("해금"));
    kumquat->click();
    EXPECT_TRUE(world.game->orchard().unlocked.contains(TreeKind::kumquat));
    EXPECT_EQ(kumquat->title(), QStringLiteral("심기"));
    EXPECT_EQ(kumquat->purchase(), Purchase::tree(TreeKind::kumquat));

    // Unlocked, but the 10 coins left do not pay for a tree: replanting with it is offered, disabled.
    QAction* replant = tab.plotRows()[0]->replantItems()[0];
    ASSERT_TRUE(replant->text().startsWith(QStringLiteral("금귤 ("))) << replant->text().toStdString();
    EXPECT_FALSE(replant->text().endsWith(QStringLiteral(" (잠김)")));
    EXPECT_FALSE(replant->isEnabled());
}

TEST(OrchardTab, ReplantMenuListsEveryOtherKindAndLocksTheLockedOnes) {
    Orchard o = idleOrchard(1000000);
    o.unlocked.insert(TreeKind::meyer);
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    showAside(tab);
    ASSERT_EQ(tab.plotRows().size(), 1u);
    const QList<QAction*> items = tab.plotRows()[0]->replantItems();
    ASSERT_EQ(items.size(), 11);
    for (QAction* item : items) {
        EXPECT_FALSE(item->text().startsWith(QStringLiteral("유레카 레몬")));
        const bool meyer = item->text().startsWith(QStringLiteral("마이어 레몬"));
        EXPECT_EQ(item->isEnabled(), meyer) << item->text().toStdString();
        if (!meyer) {
            EXPECT_TRUE(item->text().endsWith(QStringLiteral(" (잠김)")));
        }
    }

    QAction* meyer = items[1];
    ASSERT_TRUE(meyer->text().startsWith(QStringLiteral("마이어 레몬 (")));
    meyer->trigger();
    const Orchard& now = world.game->orchard();
    EXPECT_EQ(now.trees[0].kind, TreeKind::meyer);
    EXPECT_EQ(now.trees[0].age, 0);
    EXPECT_TRUE(now.everPlanted.contains(TreeKind::meyer));
    EXPECT_EQ(tab.plotRows()[0]->statusLabel()->text(), QStringLiteral("자라는 중 0%"));
    // The new kind is the one left out now.
    const QList<QAction*> after = tab.plotRows()[0]->replantItems();
    ASSERT_EQ(after.size(), 11);
    EXPECT_TRUE(after[0]->text().startsWith(QStringLiteral("유레카 레몬 (")));
}

TEST(OrchardTab, PlotStatusFollowsGrowthAndFruit) {
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 150, 0, 0}), QStringLiteral("자라는 중 50%"));
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 300, 0, 4}), QStringLiteral("열매 4개"));
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 300, 10, 0}), QStringLiteral("열매 맺는 중"));
}

TEST(OrchardTab, TopCrateShowsNoNextLevelAndCannotGrow) {
    Orchard o = idleOrchard();
    o.crateLevel = 17;
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    EXPECT_TRUE(tab.nextCrateLabel()->isVisibleTo(&tab));

    o.crateLevel = 18;
    ManageWorld top(o);
    OrchardTab topTab(*top.game, top.sprites);
    EXPECT_FALSE(topTab.nextCrateLabel()->isVisibleTo(&topTab));
    EXPECT_FALSE(topTab.crateButton()->isEnabled());
    EXPECT_EQ(topTab.crateButton()->toolTip(), QStringLiteral("최고 레벨이에요"));
}

TEST(BuyButton, ReasonNamesTheShortfallInShortForm) {
    Orchard o = Orchard::starter();
    o.coins = 0;
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 12345), QStringLiteral("코인이 1.2만 모자라요"));
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 500), QStringLiteral("코인이 500 모자라요"));
    o.coins = 500;
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 500), QStringLiteral("살 수 있어요"));
    EXPECT_EQ(BuyButton::reason(o, Purchase::tree(TreeKind::eureka), std::nullopt), QStringLiteral("밭이 다 찼어요"));
    EXPECT_EQ(BuyButton::reason(o, Purchase::secondWorker(WorkerRole::planter), std::nullopt),
              QStringLiteral("레벨 10부터 한 명 더 고용할 수 있어요"));
    EXPECT_EQ(BuyButton::reason(o, Purchase::worker(WorkerRole::planter), std::nullopt),
              QStringLiteral("최고 레벨이에요"));
    // A hand-edited debt must not overflow the shortfall.
    o.coins = std::numeric_limits<std::int64_t>::min();
    EXPECT_FALSE(BuyButton::reason(o, Purchase::crate(), 500).isEmpty());
}

} // namespace
} // namespace pipfield::test
