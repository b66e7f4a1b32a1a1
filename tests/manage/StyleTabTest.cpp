#include "ManageTests.h"

namespace pipfield::test {
namespace {

TEST(StyleTab, ARowForEveryHiredWorkerFirstSlotFirstAndANoteWhenThereIsNone) {
    ManageWorld idle(idleOrchard());
    StyleTab empty(*idle.game, idle.sprites);
    EXPECT_TRUE(empty.lookRows().empty());
    EXPECT_TRUE(empty.emptyNote()->isVisibleTo(&empty));

    Orchard o = Orchard::starter();
    o.workers.set(WorkerRole::caretaker, 10);
    o.extraWorkers.insert(WorkerRole::caretaker);
    ManageWorld world(o);
    StyleTab tab(*world.game, world.sprites);
    ASSERT_EQ(tab.lookRows().size(), 3u);
    EXPECT_EQ(tab.lookRows()[0]->role(), WorkerRole::caretaker);
    EXPECT_EQ(tab.lookRows()[0]->slot(), 0);
    EXPECT_EQ(tab.lookRows()[1]->slot(), 1);
    EXPECT_EQ(tab.lookRows()[2]->role(), WorkerRole::harvester);
    EXPECT_FALSE(tab.emptyNote()->isVisibleTo(&tab));
}

TEST(StyleTab, EveryEditIsSavedAtOnceAndThemeAndLightGoToTheSettings) {
    Orchard o = Orchard::starter();
    o.looks["harvester-0"] = WorkerLook{0, 0, "레몬이"};
    ManageWorld world(o);
    StyleTab tab(*world.game, world.sprites);
    showAside(tab);
    LookRow& row = *tab.lookRows().at(0);
    EXPECT_EQ(row.nameField()->text(), QStringLiteral("레몬이"));

    row.nameField()->clear();
    QTest::keyClick(row.nameField(), Qt::Key_A);
    QTest::keyClick(row.nameField(), Qt::Key_Backspace);
    EXPECT_EQ(world.game->orchard().look(WorkerRole::harvester, 0).name, "");
    EXPECT_EQ(world.saved()->orchard.look(WorkerRole::harvester, 0).name, "");
    EXPECT_EQ(row.nameField()->placeholderText(), QStringLiteral("레아"));

    row.variants()->button(1)->click();
    EXPECT_EQ(world.game->orchard().look(WorkerRole::harvester, 0).variant, 1);
    EXPECT_EQ(row.nameField()->placeholderText(), QStringLiteral("하루"));

    row.dyePicker()->swatch(5)->click();
    EXPECT_EQ(world.saved()->orchard.look(WorkerRole::harvester, 0), (WorkerLook{1, 5, ""}));
    EXPECT_TRUE(row.dyePicker()->swatch(5)->isChecked());
    EXPECT_EQ(row.sprite()->dye(), Palette::dyeHue(5));

    row.dyePicker()->swatch(0)->click();
    EXPECT_EQ(world.game->orchard().look(WorkerRole::harvester, 0).dye, 0);
    EXPECT_EQ(row.sprite()->dye(), std::nullopt);

    EXPECT_TRUE(tab.themes()->button(0)->isChecked());
    tab.themes()->button(3)->click();
    EXPECT_EQ(world.game->sceneSettings().theme(), QStringLiteral("moon")) << "through the setting's owner";
    EXPECT_TRUE(tab.timeOfDay()->isChecked());
    tab.timeOfDay()->click();
    EXPECT_FALSE(world.game->sceneSettings().timeOfDayLight());
}

TEST(SpriteView, MissingImageDrawsNothingAndKeepsItsFrame) {
    ManageWorld world;
    SpriteView view(world.sprites, QSize(64, 72));
    MessageLog log("pipfield.scene");
    view.setSprite(QStringLiteral("no-such-sprite"));
    EXPECT_TRUE(view.picture().isNull());
    EXPECT_FALSE(view.grab().isNull());
    EXPECT_EQ(log.warnings.size(), 1);
}

} // namespace
} // namespace pipfield::test
