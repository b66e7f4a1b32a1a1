#include "manage/WorkersTab.h"

#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/DyePicker.h"
#include "manage/Label.h"
#include "manage/SpriteView.h"
#include "support/ManageTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

Orchard withPlanter(std::int64_t level, std::int64_t coins) {
    Orchard o = idleOrchard(coins);
    o.workers.set(WorkerRole::planter, level);
    return o;
}

TEST(WorkersTab, RowsOfferHiringOrShowTheWorkerAndTheFooterStatesTheRules) {
    ManageWorld world(withPlanter(3, 0));
    WorkersTab tab(*world.game, world.sprites);
    WorkerRow& none = *tab.row(WorkerRole::caretaker);
    EXPECT_EQ(none.titleLabel()->text(), QStringLiteral("돌보기 일꾼"));
    EXPECT_EQ(none.levelLabel()->text(), QStringLiteral("아직 없음"));
    EXPECT_TRUE(none.effectLabel()->text().startsWith(QStringLiteral("고용하면 ")));
    EXPECT_EQ(none.buyButton()->title(), QStringLiteral("고용"));
    EXPECT_FALSE(none.gearLine()->isVisibleTo(&tab));
    EXPECT_FALSE(none.moreButton()->isVisibleTo(&tab));
    EXPECT_FALSE(none.partnerRow()->isVisibleTo(&tab));

    WorkerRow& hired = *tab.row(WorkerRole::planter);
    EXPECT_EQ(hired.titleLabel()->text(), QStringLiteral("토리"));
    EXPECT_EQ(hired.levelLabel()->text(), QStringLiteral("레벨 3"));
    EXPECT_EQ(hired.effectLabel()->text(), QStringLiteral("지금 판매가 +35% · 다음 레벨 판매가 +48%"));
    EXPECT_EQ(hired.buyButton()->title(), QStringLiteral("레벨 업"));
    EXPECT_TRUE(hired.gearLine()->isVisibleTo(&tab));
    EXPECT_EQ(hired.gearLine()->nextLabel()->text(), QStringLiteral("레벨 5에 견습 장비"));

    QStringList footers;
    for (const Label* label : tab.findChildren<Label*>()) {
        if (label->text().contains(QStringLiteral("장비가 좋아져요"))) {
            footers.append(label->text());
        }
    }
    EXPECT_EQ(footers,
              QStringList{QStringLiteral("레벨 5, 10, 15, 20에서 장비가 좋아져요. 레벨 10부터 같은 역할 일꾼을 "
                                         "한 명 더 고용할 수 있고, 두 명이면 효과가 1.5배예요.")});
}

TEST(WorkersTab, TopTierGearShowsOnlyTheGearName) {
    ManageWorld world(withPlanter(20, 0));
    WorkersTab tab(*world.game, world.sprites);
    WorkerRow& row = *tab.row(WorkerRole::planter);
    EXPECT_FALSE(row.gearLine()->nextLabel()->isVisibleTo(&tab));
    EXPECT_EQ(row.gearLine()->accessibleName(), QStringLiteral("명인 장비"));
    EXPECT_EQ(row.effectLabel()->text(), QStringLiteral("판매가 +240%"));
}

TEST(WorkersTab, SecondWorkerOpensFromLevelTenEvenWhenCoinsAreShort) {
    ManageWorld nine(withPlanter(9, 0));
    WorkersTab nineTab(*nine.game, nine.sprites);
    QPushButton* more = nineTab.row(WorkerRole::planter)->moreButton();
    EXPECT_TRUE(more->isVisibleTo(&nineTab));
    EXPECT_FALSE(more->isEnabled());
    EXPECT_EQ(more->toolTip(), QStringLiteral("레벨 10부터 한 명 더 고용할 수 있어요"));

    ManageWorld ten(withPlanter(10, 0));
    WorkersTab tenTab(*ten.game, ten.sprites);
    QPushButton* open = tenTab.row(WorkerRole::planter)->moreButton();
    EXPECT_TRUE(open->isEnabled());
    EXPECT_EQ(open->toolTip(), QStringLiteral("같은 역할 일꾼을 한 명 더 고용해요"));
    open->click();
    ASSERT_NE(tenTab.sheet(), nullptr);
    EXPECT_FALSE(tenTab.sheet()->hireButton()->isEnabled());
    tenTab.sheet()->cancelButton()->click();
    EXPECT_EQ(tenTab.sheet(), nullptr);
    EXPECT_FALSE(ten.game->orchard().extraWorkers.contains(WorkerRole::planter));
}

TEST(WorkersTab, HireSheetStoresTheChosenLookWithABlankNameEmpty) {
    ManageWorld world(withPlanter(12, 100000000));
    WorkersTab tab(*world.game, world.sprites);
    showAside(tab);
    tab.row(WorkerRole::planter)->moreButton()->click();
    HireSheet* sheet = tab.sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->look().variant, 1);
    EXPECT_TRUE(sheet->variantCard(1)->isChecked());
    EXPECT_EQ(sheet->nameField()->placeholderText(), QStringLiteral("준"));

    sheet->variantCard(0)->click();
    EXPECT_EQ(sheet->nameField()->placeholderText(), QStringLiteral("토리"));
    sheet->dyePicker()->swatch(3)->click();
    // The preview follows the choice at once.
    EXPECT_EQ(sheet->preview()->dye(), Palette::dyeHue(3));
    QTest::keyClicks(sheet->nameField(), QStringLiteral(" \t  "));
    const std::int64_t price = *world.game->orchard().cost(Purchase::secondWorker(WorkerRole::planter));
    EXPECT_FALSE(sheet->hireButton()->trailingText().isEmpty());
    ASSERT_TRUE(sheet->hireButton()->isEnabled());

    sheet->hireButton()->click();
    const Orchard& now = world.game->orchard();
    EXPECT_TRUE(now.extraWorkers.contains(WorkerRole::planter));
    EXPECT_EQ(now.coins, 100000000 - price);
    EXPECT_EQ(now.look(WorkerRole::planter, 1), (WorkerLook{0, 3, ""}));
    EXPECT_EQ(world.savedOrchard()->look(WorkerRole::planter, 1), (WorkerLook{0, 3, ""}));
    EXPECT_EQ(tab.sheet(), nullptr);

    WorkerRow& row = *tab.row(WorkerRole::planter);
    EXPECT_TRUE(row.partnerRow()->isVisibleTo(&tab));
    EXPECT_EQ(row.partnerLabel()->text(), QStringLiteral("함께 일하는 토리"));
    EXPECT_FALSE(row.moreButton()->isVisibleTo(&tab));
}

TEST(HireSheet, TrimsOnlySpacesAndTabs) {
    EXPECT_EQ(HireSheet::trimBlanks(QStringLiteral(" \t 하루 \t")), QStringLiteral("하루"));
    EXPECT_EQ(HireSheet::trimBlanks(QStringLiteral("레 아")), QStringLiteral("레 아"));
    EXPECT_EQ(HireSheet::trimBlanks(QStringLiteral("   ")), QString());
}

} // namespace
} // namespace pipfield::test
