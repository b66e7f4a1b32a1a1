#include "manage/DexTab.h"

#include "manage/Label.h"
#include "manage/OrchardTab.h"
#include "manage/SpriteView.h"
#include "support/ManageTestSupport.h"

#include <QAction>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

TEST(DexTab, NewGameShowsOnePlantedKindAndElevenSilhouettes) {
    ManageWorld world;
    DexTab tab(*world.game, world.sprites);
    EXPECT_EQ(tab.heading()->text(), QStringLiteral("심어 본 나무 1 / 12"));
    int unknown = 0;
    for (TreeKind kind : allTreeKinds) {
        DexCell* cell = tab.cell(kind);
        const bool hidden = cell->nameLabel()->text() == QStringLiteral("???");
        unknown += hidden ? 1 : 0;
        EXPECT_EQ(cell->tree()->silhouette(), hidden);
    }
    EXPECT_EQ(unknown, 11);
    EXPECT_EQ(tab.cell(TreeKind::eureka)->lineLabel()->text(), QStringLiteral("딴 열매 0개"));
    EXPECT_EQ(tab.cell(TreeKind::grapefruit)->lineLabel()->text(), QStringLiteral("해금 3만"));
}

TEST(DexTab, UnlockedButUnplantedKindIsStillASilhouette) {
    Orchard o = Orchard::starter();
    o.unlocked.insert(TreeKind::lime);
    o.coins = 1000000;
    o.harvestedByKind.set(TreeKind::eureka, 12345);
    ManageWorld world(o);
    DexTab dex(*world.game, world.sprites);
    showAside(dex);
    EXPECT_EQ(dex.cell(TreeKind::lime)->nameLabel()->text(), QStringLiteral("???"));
    EXPECT_EQ(dex.cell(TreeKind::lime)->lineLabel()->text(), QStringLiteral("아직 안 심었어요"));
    EXPECT_EQ(dex.cell(TreeKind::eureka)->lineLabel()->text(), QStringLiteral("딴 열매 1.2만개"));

    // Replanting with the new kind adds it to the collection at once.
    OrchardTab orchard(*world.game, world.sprites);
    for (QAction* item : orchard.plotRows()[0]->replantItems()) {
        if (item->text().startsWith(QStringLiteral("라임 ("))) {
            item->trigger();
            break;
        }
    }
    EXPECT_EQ(dex.cell(TreeKind::lime)->nameLabel()->text(), QStringLiteral("라임"));
    EXPECT_FALSE(dex.cell(TreeKind::lime)->tree()->silhouette());
    EXPECT_EQ(dex.heading()->text(), QStringLiteral("심어 본 나무 2 / 12"));
}

} // namespace
} // namespace pipfield::test
