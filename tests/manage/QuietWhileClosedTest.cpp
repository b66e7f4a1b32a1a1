#include "kit/ShortNumber.h"
#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/Header.h"
#include "manage/Label.h"
#include "manage/OrchardTab.h"
#include "manage/SettingsTab.h"
#include "manage/SpriteView.h"
#include "support/ManageTestSupport.h"

#include <QCheckBox>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

Orchard fullCrate() {
    Orchard o = idleOrchard(0);
    o.crate.set(TreeKind::eureka, 40);
    return o;
}

TEST(ClosedWindow, ChangesWaitUntilTheWindowIsShownAndThenAppearAtOnce) {
    ManageWorld world(fullCrate());
    auto window = world.window();
    Header& header = *window->header();
    EXPECT_EQ(header.coins()->text(), QStringLiteral("0"));

    world.game->sellAll();
    const std::int64_t coins = world.game->orchard().coins;
    ASSERT_GT(coins, 0);
    // Closed: nothing was redone for nobody.
    EXPECT_EQ(header.coins()->text(), QStringLiteral("0"));
    EXPECT_TRUE(header.sellButton()->isEnabled());

    showAside(*window);
    EXPECT_EQ(header.coins()->text(), shortNumber(coins));
    EXPECT_FALSE(header.sellButton()->isEnabled());
}

TEST(ClosedWindow, AHiddenTabCatchesUpWhenChosen) {
    Orchard o = fullCrate();
    o.unlocked.insert(TreeKind::kumquat);
    ManageWorld world(o);
    auto window = world.window();
    window->tabs()->setCurrentIndex(5);
    showAside(*window);
    auto* orchard = qobject_cast<OrchardTab*>(window->tabs()->widget(0));
    ASSERT_NE(orchard, nullptr);
    BuyButton* plant = orchard->kindRows().front()->button();
    const bool affordableBefore = plant->isEnabled();

    world.game->sellAll();
    // The header is on screen and follows at once.
    EXPECT_EQ(window->header()->coins()->text(), shortNumber(world.game->orchard().coins));
    const bool affordableNow = plant->price() && world.game->orchard().coins >= *plant->price();
    ASSERT_NE(affordableBefore, affordableNow) << "the sale must change what the orchard tab offers";
    EXPECT_EQ(plant->isEnabled(), affordableBefore);

    window->tabs()->setCurrentIndex(0);
    EXPECT_EQ(plant->isEnabled(), affordableNow);
}

TEST(SettingsTab, LoginToggleAndErrorAreReadAgainEachTimeTheTabIsShown) {
    ManageWorld world;
    auto window = world.window();
    window->tabs()->setCurrentIndex(5);
    showAside(*window);
    auto* settings = qobject_cast<SettingsTab*>(window->tabs()->widget(5));
    ASSERT_NE(settings, nullptr);

    world.login.refusal = QStringLiteral("Permission denied");
    settings->launchAtLogin()->click();
    EXPECT_TRUE(settings->loginError()->isVisible());

    // Meanwhile the desktop's autostart entry appears by other means.
    world.login.refusal.reset();
    world.login.on = true;
    window->tabs()->setCurrentIndex(0);
    window->tabs()->setCurrentIndex(5);
    EXPECT_TRUE(settings->launchAtLogin()->isChecked());
    EXPECT_FALSE(settings->loginError()->isVisible());
}

TEST(SpriteView, SilhouetteIsMadeOnceAndRemadeForANewPalette) {
    ManageWorld world;
    SpriteView view(world.sprites, QSize(120, 60));
    view.setSprite(QStringLiteral("tree-eureka-6"), std::nullopt, 1.0, true);
    const QImage first = view.picture();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(view.picture().cacheKey(), first.cacheKey());

    auto inkOf = [](const QImage& image) {
        const Ink ink = inkWhere(image, image.rect(), [&](QPoint p) { return qAlpha(image.pixel(p)) > 0; });
        return ink.count > 0 ? QColor(image.pixel(ink.first)) : QColor();
    };
    QPalette dark = view.palette();
    dark.setColor(QPalette::WindowText, Qt::white);
    view.setPalette(dark);
    const QImage light = view.picture();
    EXPECT_NE(light.cacheKey(), first.cacheKey());
    EXPECT_NE(inkOf(light), inkOf(first));
}

} // namespace
} // namespace pipfield::test
