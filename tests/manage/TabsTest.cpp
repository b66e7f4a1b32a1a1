#include "ManageTests.h"

#include <QFile>

namespace pipfield::test {
namespace {

TEST(OrchardTab, FullFieldDisablesEveryPlantButtonAndPlotNumbersFitAtLargeSizes) {
    Orchard o = idleOrchard(100000);
    o.unlocked.insert(TreeKind::kumquat);
    o.trees.assign(10, Tree{TreeKind::eureka, 300, 0, 0});
    QFont large = QApplication::font();
    large.setPointSizeF(28);
    const AppFont font(large);
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    tab.resize(600, 500);
    showAside(tab);
    int plant = 0;
    for (KindRow* row : tab.kindRows()) {
        if (row->button()->purchase().what == Purchase::Case::tree) {
            ++plant;
            EXPECT_FALSE(row->button()->isEnabled());
            EXPECT_EQ(row->button()->toolTip(), QStringLiteral("밭이 다 찼어요"));
        }
    }
    EXPECT_EQ(plant, 2);
    EXPECT_TRUE(tab.fieldFooter()->text().startsWith(QStringLiteral("밭 10 / 10칸.")));
    EXPECT_EQ(tab.kindRows()[0]->countLabel()->text(), QStringLiteral("10그루"));
    EXPECT_FALSE(tab.kindRows()[1]->countLabel()->isVisibleTo(&tab));

    Label* number = tab.plotRows().back()->findChild<Label*>();
    ASSERT_NE(number, nullptr);
    ASSERT_EQ(number->text(), QStringLiteral("10"));
    EXPECT_TRUE(number->alignment() & Qt::AlignHCenter);
    EXPECT_GE(number->width(), number->sizeHint().width());
    // Every row's number has the same width, so the names line up.
    EXPECT_EQ(tab.plotRows().front()->findChild<Label*>()->width(), number->width());
}

TEST(OrchardTab, PlantingThroughTheButtonChangesTheGameAndTheSaveFile) {
    ManageWorld world(idleOrchard(100));
    OrchardTab tab(*world.game, world.sprites);
    showAside(tab);
    BuyButton* plant = tab.kindRows()[0]->button();
    const std::int64_t price = *plant->price();
    ASSERT_TRUE(plant->isEnabled());

    plant->click();
    EXPECT_EQ(world.game->orchard().trees.size(), 2u);
    EXPECT_EQ(world.game->orchard().coins, 100 - price);
    EXPECT_EQ(tab.plotRows().size(), 2u);
    EXPECT_TRUE(tab.fieldFooter()->text().startsWith(QStringLiteral("밭 2 / 10칸.")));
    EXPECT_EQ(world.saved()->orchard.coins, 100 - price);
}

TEST(OrchardTab, UnlockingTurnsTheOfferToPlantingAndReplantingWithItWaitsForTheCoins) {
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

TEST(OrchardTab, ReplantMenuListsEveryOtherKindAndTheNewKindJoinsTheCollection) {
    Orchard o = idleOrchard(1000000);
    o.unlocked.insert(TreeKind::meyer);
    o.harvestedByKind.set(TreeKind::eureka, 12345);
    ManageWorld world(o);
    OrchardTab tab(*world.game, world.sprites);
    DexTab dex(*world.game, world.sprites);
    showAside(tab);
    showAside(dex);
    // Unlocked but never planted: still a silhouette.
    EXPECT_EQ(dex.cell(TreeKind::meyer)->nameLabel()->text(), QStringLiteral("???"));
    EXPECT_EQ(dex.cell(TreeKind::meyer)->lineLabel()->text(), QStringLiteral("아직 안 심었어요"));
    EXPECT_EQ(dex.cell(TreeKind::eureka)->lineLabel()->text(), QStringLiteral("딴 열매 1.2만개"));
    ASSERT_EQ(tab.plotRows().size(), 1u);
    const QList<QAction*> items = tab.plotRows()[0]->replantItems();
    ASSERT_EQ(items.size(), 11);
    for (QAction* item : items) {
        EXPECT_FALSE(item->text().startsWith(QStringLiteral("유레카 레몬")));
        const bool meyer = item->text().startsWith(QStringLiteral("마이어 레몬"));
        EXPECT_EQ(item->isEnabled(), meyer) << item->text().toStdString();
        EXPECT_EQ(item->text().endsWith(QStringLiteral(" (잠김)")), !meyer) << item->text().toStdString();
    }

    QAction* meyer = items[1];
    ASSERT_TRUE(meyer->text().startsWith(QStringLiteral("마이어 레몬 (")));
    meyer->trigger();
    EXPECT_EQ(world.game->orchard().trees[0].kind, TreeKind::meyer);
    EXPECT_EQ(tab.plotRows()[0]->statusLabel()->text(), QStringLiteral("자라는 중 0%"));
    // The new kind is the one left out now.
    const QList<QAction*> after = tab.plotRows()[0]->replantItems();
    ASSERT_EQ(after.size(), 11);
    EXPECT_TRUE(after[0]->text().startsWith(QStringLiteral("유레카 레몬 (")));
    EXPECT_EQ(dex.cell(TreeKind::meyer)->nameLabel()->text(), QStringLiteral("마이어 레몬"));
    EXPECT_FALSE(dex.cell(TreeKind::meyer)->tree()->silhouette());
    EXPECT_EQ(dex.heading()->text(), QStringLiteral("심어 본 나무 2 / 12"));
}

TEST(OrchardTab, PlotStatusFollowsGrowthAndFruitAndTheTopCrateCannotGrow) {
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 150, 0, 0}), QStringLiteral("자라는 중 50%"));
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 300, 0, 4}), QStringLiteral("열매 4개"));
    EXPECT_EQ(PlotRow::status(Tree{TreeKind::eureka, 300, 10, 0}), QStringLiteral("열매 맺는 중"));

    for (const int level : {17, 18}) {
        Orchard o = idleOrchard(std::int64_t{1} << 50);
        o.crateLevel = level;
        ManageWorld world(o);
        OrchardTab tab(*world.game, world.sprites);
        showAside(tab);
        EXPECT_EQ(tab.nextCrateLabel()->isVisibleTo(&tab), level < 18) << level;
        EXPECT_EQ(tab.crateButton()->isEnabled(), level < 18) << level;
        EXPECT_EQ(tab.crateButton()->toolTip() == QStringLiteral("최고 레벨이에요"), level == 18) << level;
    }
}

// Where nothing can be bought, the reason is pinned by the tab that says it.
TEST(BuyButton, ReasonNamesTheShortfallInShortForm) {
    Orchard o = idleOrchard(0);
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 12345), QStringLiteral("코인이 1.2만 모자라요"));
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 500), QStringLiteral("코인이 500 모자라요"));
    o.coins = 500;
    EXPECT_EQ(BuyButton::reason(o, Purchase::crate(), 500), QStringLiteral("살 수 있어요"));
    // A hand-edited debt must not overflow the shortfall.
    o.coins = std::numeric_limits<std::int64_t>::min();
    EXPECT_FALSE(BuyButton::reason(o, Purchase::crate(), 500).isEmpty());
}

TEST(DexTab, NewGameShowsOnePlantedKindAndElevenSilhouettes) {
    ManageWorld world;
    DexTab tab(*world.game, world.sprites);
    EXPECT_EQ(tab.heading()->text(), QStringLiteral("심어 본 나무 1 / 12"));
    int unknown = 0;
    for (TreeKind kind : allTreeKinds) {
        const bool hidden = tab.cell(kind)->nameLabel()->text() == QStringLiteral("???");
        unknown += hidden ? 1 : 0;
        EXPECT_EQ(tab.cell(kind)->tree()->silhouette(), hidden);
    }
    EXPECT_EQ(unknown, 11);
    EXPECT_EQ(tab.cell(TreeKind::eureka)->lineLabel()->text(), QStringLiteral("딴 열매 0개"));
    EXPECT_EQ(tab.cell(TreeKind::grapefruit)->lineLabel()->text(), QStringLiteral("해금 3만"));
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

    ManageWorld top(withPlanter(20, 0));
    WorkersTab topTab(*top.game, top.sprites);
    WorkerRow& master = *topTab.row(WorkerRole::planter);
    EXPECT_FALSE(master.gearLine()->nextLabel()->isVisibleTo(&topTab));
    EXPECT_EQ(master.gearLine()->accessibleName(), QStringLiteral("명인 장비"));
    EXPECT_EQ(master.effectLabel()->text(), QStringLiteral("판매가 +240%"));
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
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("심기 일꾼 한 명 더 고용"));
    EXPECT_TRUE(sheet->variantCard(1)->isChecked());
    EXPECT_EQ(sheet->nameField()->placeholderText(), QStringLiteral("준"));

    sheet->variantCard(0)->click();
    EXPECT_EQ(sheet->nameField()->placeholderText(), QStringLiteral("토리"));
    sheet->dyePicker()->swatch(3)->click();
    // The preview follows the choice at once.
    EXPECT_EQ(sheet->preview()->dye(), Palette::dyeHue(3));
    QTest::keyClicks(sheet->nameField(), QStringLiteral(" \t  "));
    EXPECT_FALSE(sheet->hireButton()->trailingText().isEmpty());
    ASSERT_TRUE(sheet->hireButton()->isEnabled());

    sheet->hireButton()->click();
    EXPECT_TRUE(world.game->orchard().extraWorkers.contains(WorkerRole::planter));
    EXPECT_EQ(world.saved()->orchard.look(WorkerRole::planter, 1), (WorkerLook{0, 3, ""}));
    EXPECT_EQ(tab.sheet(), nullptr);

    WorkerRow& row = *tab.row(WorkerRole::planter);
    EXPECT_TRUE(row.partnerRow()->isVisibleTo(&tab));
    EXPECT_EQ(row.partnerLabel()->text(), QStringLiteral("함께 일하는 토리"));
    EXPECT_FALSE(row.moreButton()->isVisibleTo(&tab));
    // Only the blanks around a name go.
    EXPECT_EQ(HireSheet::trimBlanks(QStringLiteral(" \t 레 아 \t")), QStringLiteral("레 아"));
}

TEST(RecordTab, SavesOrCopiesThisWeekAndAFailedSaveSaysWhyInTheTab) {
    ManageWorld world;
    RecordTab tab(*world.game, world.sprites, world.saveDialog);
    EXPECT_EQ(tab.card().weekStart, world.game->weekStart());
    EXPECT_EQ(tab.card().stats, world.game->thisWeek());
    EXPECT_FALSE(tab.exportFailure()->isVisibleTo(&tab));

    world.saveDialog.answer = world.dir.filePath(QStringLiteral("card.png"));
    tab.saveButton()->click();
    EXPECT_TRUE(QFile::exists(world.saveDialog.answer));
    ASSERT_TRUE(tab.copyButton()->isVisibleTo(&tab));
    tab.copyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(1200, 760));

    world.saveDialog.answer = world.dir.filePath(QStringLiteral("gone/card.png"));
    MessageLog log("pipfield.save");
    tab.saveButton()->click();
    EXPECT_EQ(log.warnings.size(), 1);
    EXPECT_TRUE(tab.exportFailure()->isVisibleTo(&tab));
    EXPECT_EQ(tab.exportFailure()->text(), QStringLiteral("이미지를 저장하지 못했어요: No such file or directory"));
    // A cancel says nothing.
    world.saveDialog.answer.clear();
    tab.saveButton()->click();
    EXPECT_FALSE(tab.exportFailure()->isVisibleTo(&tab));

    // Without a picture there is nothing to copy: only the save button is offered.
    RecordTab broken(*world.game, world.sprites, world.saveDialog, nullptr, [](const WeeklyCard&) { return QImage(); });
    EXPECT_TRUE(broken.saveButton()->isVisibleTo(&broken));
    EXPECT_FALSE(broken.copyButton()->isVisibleTo(&broken));
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
    // Five weeks without a record (before the game, or not run), one that ran and did nothing.
    std::vector<WeekRecord> weeks(5, WeekRecord{QStringLiteral("2026-W30"), std::nullopt, false});
    weeks.push_back({QStringLiteral("2026-W35"), Totals{100, 90, 50, 0}, false});
    weeks.push_back({QStringLiteral("2026-W36"), Totals{0, 0, 0, 0}, false});
    weeks.push_back({QStringLiteral("2026-W37"), Totals{25, 20, 200, 1}, true});
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
    EXPECT_NE(image.pixelColor((QPointF(7 * 60 + 8, 30) * r).toPoint()).rgb(),
              image.pixelColor((QPointF(6 * 60 + 8, 30) * r).toPoint()).rgb());
}

TEST(WeeksChart, AGameOfOneWeekShowsOneBar) {
    ManageWorld world(withCrate(12));
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
    EXPECT_EQ(chart.fruitBar(7).height(), 0) << "nothing picked this week";
}

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

struct SettingsWorld : ManageWorld {
    std::unique_ptr<SettingsTab> tab() {
        return std::make_unique<SettingsTab>(*game, *strip, login, [this] { ++notificationSettingsOpened; });
    }
};

TEST(SettingsTab, StripSwitchesAndTheMonitorWriteThroughTheStrip) {
    SettingsWorld world;
    auto tab = world.tab();
    EXPECT_TRUE(tab->clickThrough()->isChecked());
    tab->clickThrough()->click();
    EXPECT_FALSE(world.strip->clickThrough());
    tab->hideInFullScreen()->click();
    EXPECT_FALSE(world.strip->hideInFullScreen());
    EXPECT_TRUE(tab->followPowerSaver()->isChecked());
    EXPECT_EQ(tab->followPowerSaver()->text(), QStringLiteral("절전 모드 따르기"));
    tab->followPowerSaver()->click();
    EXPECT_FALSE(world.game->sceneSettings().followPowerSaver());
    world.game->sceneSettings().setFollowPowerSaver(true);
    EXPECT_TRUE(tab->followPowerSaver()->isChecked());
    // A change made elsewhere (the tray menu) shows here too.
    world.strip->setShown(false);
    EXPECT_FALSE(tab->stripShown()->isChecked());

    // The primary screen, then each screen.
    const auto screens = world.strip->screens();
    ASSERT_FALSE(screens.empty());
    ASSERT_EQ(tab->monitor()->count(), 1 + static_cast<int>(screens.size()));
    EXPECT_EQ(tab->monitor()->itemText(0), QStringLiteral("주 모니터"));
    EXPECT_EQ(tab->monitor()->currentIndex(), 0);
    EXPECT_EQ(tab->monitor()->itemText(1), screens[0].name);
    tab->monitor()->activated(1);
    EXPECT_EQ(world.strip->screenID(), static_cast<qint64>(screens[0].id));
}

TEST(SettingsTab, DeniedNotificationsOfferTheSettingsOnceTheTabIsShownAgain) {
    SettingsWorld world;
    auto tab = world.tab();
    tab->show();
    ASSERT_EQ(world.notifier.answers.size(), 1u);
    world.notifier.answers[0](false);
    EXPECT_FALSE(tab->deniedRow()->isVisibleTo(tab.get()));

    tab->hide();
    tab->show();
    ASSERT_EQ(world.notifier.answers.size(), 2u) << "asked again on showing";
    world.notifier.answers[1](true);
    EXPECT_TRUE(tab->deniedRow()->isVisibleTo(tab.get()));
    tab->openSettingsButton()->click();
    EXPECT_EQ(world.notificationSettingsOpened, 1);

    tab->notifications()->click();
    EXPECT_FALSE(world.game->notificationsOn());
}

TEST(SettingsTab, ARefusedLoginChangeShowsTheErrorAndTheDesktopsStateIsReadAgainWhenShown) {
    SettingsWorld world;
    world.login.refusal = QStringLiteral("Permission denied");
    auto tab = world.tab();
    tab->show();
    EXPECT_FALSE(tab->launchAtLogin()->isChecked());
    EXPECT_FALSE(tab->loginError()->isVisible());

    tab->launchAtLogin()->click();
    EXPECT_EQ(world.login.calls, 1);
    EXPECT_FALSE(tab->launchAtLogin()->isChecked());
    EXPECT_TRUE(tab->loginError()->isVisible());
    EXPECT_EQ(tab->loginError()->text(), QStringLiteral("Permission denied"));

    // Meanwhile the desktop's autostart entry appears by other means.
    world.login.refusal.reset();
    world.login.on = true;
    tab->hide();
    tab->show();
    EXPECT_TRUE(tab->launchAtLogin()->isChecked());
    EXPECT_FALSE(tab->loginError()->isVisible());
    tab->launchAtLogin()->click();
    EXPECT_FALSE(world.login.on);
    // A tab made now starts from the desktop's state, before it is ever shown.
    world.login.on = true;
    EXPECT_TRUE(world.tab()->launchAtLogin()->isChecked());
}

} // namespace
} // namespace pipfield::test
