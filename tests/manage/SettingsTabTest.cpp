#include "manage/SettingsTab.h"

#include "manage/Label.h"
#include "support/ManageTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace pipfield::test {
namespace {

struct SettingsWorld : ManageWorld {
    std::unique_ptr<SettingsTab> tab() {
        return std::make_unique<SettingsTab>(*game, *strip, login, [this] { ++notificationSettingsOpened; });
    }
};

TEST(SettingsTab, StripSwitchesWriteThroughTheStrip) {
    SettingsWorld world;
    auto tab = world.tab();
    EXPECT_TRUE(tab->clickThrough()->isChecked());
    tab->clickThrough()->click();
    EXPECT_FALSE(world.strip->clickThrough());
    EXPECT_FALSE(world.defaults.boolValue(QStringLiteral("clickThrough")));

    tab->hideInFullScreen()->click();
    EXPECT_FALSE(world.strip->hideInFullScreen());
    // A change made elsewhere (the tray menu) shows here too.
    world.strip->setShown(false);
    EXPECT_FALSE(tab->stripShown()->isChecked());
}

TEST(SettingsTab, MonitorPickerOffersThePrimaryScreenAndEachScreen) {
    SettingsWorld world;
    auto tab = world.tab();
    const auto screens = world.strip->screens();
    ASSERT_EQ(tab->monitor()->count(), 1 + static_cast<int>(screens.size()));
    EXPECT_EQ(tab->monitor()->itemText(0), QStringLiteral("주 모니터"));
    EXPECT_EQ(tab->monitor()->currentIndex(), 0);
    ASSERT_FALSE(screens.empty());
    EXPECT_EQ(tab->monitor()->itemText(1), screens[0].name);
    tab->monitor()->activated(1);
    EXPECT_EQ(world.strip->screenID(), static_cast<qint64>(screens[0].id));
}

TEST(SettingsTab, DeniedNotificationsOfferTheSettingsOnceTheTabIsShownAgain) {
    SettingsWorld world;
    auto tab = world.tab();
    tab->show();
    EXPECT_FALSE(tab->deniedRow()->isVisibleTo(tab.get()));

    tab->hide();
    world.notifier.denied = true;
    tab->show();
    EXPECT_TRUE(tab->deniedRow()->isVisibleTo(tab.get()));
    tab->openSettingsButton()->click();
    EXPECT_EQ(world.notificationSettingsOpened, 1);

    tab->notifications()->click();
    EXPECT_FALSE(world.game->notificationsOn());
}

TEST(SettingsTab, RefusedLoginChangeShowsTheErrorAndPutsTheToggleBack) {
    SettingsWorld world;
    world.login.refusal = QStringLiteral("Permission denied");
    auto tab = world.tab();
    EXPECT_FALSE(tab->launchAtLogin()->isChecked());
    EXPECT_FALSE(tab->loginError()->isVisibleTo(tab.get()));

    tab->launchAtLogin()->click();
    EXPECT_EQ(world.login.calls, 1);
    EXPECT_FALSE(tab->launchAtLogin()->isChecked());
    EXPECT_TRUE(tab->loginError()->isVisibleTo(tab.get()));
    EXPECT_EQ(tab->loginError()->text(), QStringLiteral("Permission denied"));

    world.login.refusal.reset();
    tab->launchAtLogin()->click();
    EXPECT_TRUE(world.login.on);
    EXPECT_TRUE(tab->launchAtLogin()->isChecked());
    EXPECT_FALSE(tab->loginError()->isVisibleTo(tab.get()));
    // A tab made now starts from the desktop's state, before it is ever shown.
    EXPECT_TRUE(world.tab()->launchAtLogin()->isChecked());
}

} // namespace
} // namespace pipfield::test
