#include "manage/SettingsTab.h"

#include "game/Game.h"
#include "game/SceneSettings.h"
#include "game/Texts.h"
#include "manage/FormPage.h"
#include "manage/Label.h"
#include "platform/LoginItem.h"
#include "strip/Strip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

#ifndef PIPFIELD_VERSION
#define PIPFIELD_VERSION ""
#endif

namespace pipfield {

SettingsTab::SettingsTab(Game& game, Strip& strip, LoginItem& loginItem, std::function<void()> openNotificationSettings,
                         QWidget* parent)
    : QWidget(parent), m_game(game), m_strip(strip), m_loginItem(loginItem) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new FormPage(this);
    layout->addWidget(form);
    addStripSection(*form);
    addNotificationSection(*form, std::move(openNotificationSettings));
    addStartSection(*form);
    addAboutSection(*form);

    connect(&m_strip, &Strip::isShownChanged, this, &SettingsTab::refresh);
    connect(&m_strip, &Strip::clickThroughChanged, this, &SettingsTab::refresh);
    connect(&m_strip, &Strip::hideInFullScreenChanged, this, &SettingsTab::refresh);
    connect(&m_game.sceneSettings(), &SceneSettings::followPowerSaverChanged, this, &SettingsTab::refresh);
    connect(&m_strip, &Strip::screenIDChanged, this, &SettingsTab::refresh);
    connect(&m_game, &Game::notificationsOnChanged, this, &SettingsTab::refresh);
    connect(&m_game, &Game::notificationsDeniedChanged, this, &SettingsTab::refresh);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &SettingsTab::fillMonitors);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &SettingsTab::fillMonitors);
    fillMonitors();
    refresh();
    readLogin();
}

void SettingsTab::addStripSection(FormPage& form) {
    QVBoxLayout* rows = form.addSection(Texts::ui("과수원 띠"));
    m_shown = new QCheckBox(Texts::ui("띠 보이기"));
    m_clickThrough = new QCheckBox(Texts::ui("클릭 통과"));
    auto* clickNote = new Label(
        Texts::ui("끄면 띠의 나무를 눌러 바로 따고, 창고를 눌러 팔 수 있어요. 그동안 띠 아래 창은 누를 수 없어요."),
        TextStyle::caption, Tone::secondary);
    clickNote->setWordWrap(true);
    m_hideInFullScreen = new QCheckBox(Texts::ui("전체 화면 앱에서는 숨기기"));
    m_followPowerSaver = new QCheckBox(Texts::ui("절전 모드 따르기"));
    auto* powerNote = new Label(Texts::ui("컴퓨터가 절전 모드일 때는 효과를 끄고 더 느긋하게 움직여요."),
                                TextStyle::caption, Tone::secondary);
    powerNote->setWordWrap(true);
    auto* monitorRow = new QFormLayout;
    m_monitor = new QComboBox;
    m_monitor->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_monitor->setAccessibleName(Texts::ui("모니터"));
    monitorRow->addRow(Texts::ui("모니터"), m_monitor);
    rows->addWidget(m_shown);
    rows->addWidget(m_clickThrough);
    rows->addWidget(clickNote);
    rows->addWidget(m_hideInFullScreen);
    rows->addWidget(m_followPowerSaver);
    rows->addWidget(powerNote);
    rows->addLayout(monitorRow);

    connect(m_shown, &QCheckBox::clicked, &m_strip, &Strip::setShown);
    connect(m_clickThrough, &QCheckBox::clicked, &m_strip, &Strip::setClickThrough);
    connect(m_hideInFullScreen, &QCheckBox::clicked, &m_strip, &Strip::setHideInFullScreen);
    connect(m_followPowerSaver, &QCheckBox::clicked, &m_game.sceneSettings(), &SceneSettings::setFollowPowerSaver);
    connect(m_monitor, &QComboBox::activated, this,
            [this](int index) { m_strip.setScreenID(m_monitor->itemData(index).toLongLong()); });
}

void SettingsTab::addNotificationSection(FormPage& form, std::function<void()> openNotificationSettings) {
    QVBoxLayout* rows = form.addSection(Texts::ui("알림"));
    m_notifications = new QCheckBox(Texts::ui("창고가 가득 차면 알려 주기"));
    rows->addWidget(m_notifications);
    m_deniedRow = new QWidget;
    auto* denied = new QHBoxLayout(m_deniedRow);
    denied->setContentsMargins(0, 0, 0, 0);
    auto* deniedNote =
        new Label(Texts::ui("시스템 설정에서 핍필드 알림이 꺼져 있어요."), TextStyle::caption, Tone::secondary);
    deniedNote->setWordWrap(true);
    denied->addWidget(deniedNote, 1);
    m_openSettings = new QPushButton(Texts::ui("알림 설정 열기"));
    denied->addWidget(m_openSettings);
    rows->addWidget(m_deniedRow);

    connect(m_notifications, &QCheckBox::clicked, &m_game, &Game::setNotificationsOn);
    connect(m_openSettings, &QPushButton::clicked, this, [open = std::move(openNotificationSettings)] {
        if (open) {
            open();
        }
    });
}

void SettingsTab::addStartSection(FormPage& form) {
    QVBoxLayout* rows = form.addSection(Texts::ui("시작"));
    m_login = new QCheckBox(Texts::ui("로그인할 때 열기"));
    rows->addWidget(m_login);
    m_loginError = new Label({}, TextStyle::caption, Tone::primary);
    m_loginError->setToneColor(QColor(Qt::red));
    m_loginError->setWordWrap(true);
    m_loginError->hide();
    rows->addWidget(m_loginError);

    connect(m_login, &QCheckBox::clicked, this, &SettingsTab::changeLogin);
}

void SettingsTab::addAboutSection(FormPage& form) {
    QVBoxLayout* rows = form.addSection({});
    auto* versionRow = new QFormLayout;
    m_version = new Label(QStringLiteral(PIPFIELD_VERSION), TextStyle::body, Tone::secondary);
    versionRow->addRow(Texts::ui("버전"), m_version);
    rows->addLayout(versionRow);
}

void SettingsTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_game.refreshNotificationStatus();
    readLogin();
}

void SettingsTab::fillMonitors() {
    const QSignalBlocker quiet(m_monitor);
    m_monitor->clear();
    m_monitor->addItem(Texts::ui("주 모니터"), QVariant::fromValue<qlonglong>(0));
    for (const Strip::ScreenChoice& screen : m_strip.screens()) {
        m_monitor->addItem(screen.name, QVariant::fromValue<qlonglong>(screen.id));
    }
    refresh();
}

void SettingsTab::refresh() {
    const QSignalBlocker a(m_shown), b(m_clickThrough), c(m_hideInFullScreen), d(m_monitor), e(m_notifications),
        f(m_followPowerSaver);
    m_shown->setChecked(m_strip.isShown());
    m_followPowerSaver->setChecked(m_game.sceneSettings().followPowerSaver());
    m_clickThrough->setChecked(m_strip.clickThrough());
    m_hideInFullScreen->setChecked(m_strip.hideInFullScreen());
    m_monitor->setCurrentIndex(m_monitor->findData(QVariant::fromValue<qlonglong>(m_strip.screenID())));
    m_notifications->setChecked(m_game.notificationsOn());
    m_deniedRow->setVisible(m_game.notificationsDenied());
}

void SettingsTab::readLogin() {
    // The toggle and its error belong to this showing of the tab: the state may have been changed
    // outside the program (or by another of its windows) since the last one.
    const QSignalBlocker quiet(m_login);
    m_login->setChecked(m_loginItem.enabled());
    m_loginError->clear();
    m_loginError->hide();
}

void SettingsTab::changeLogin(bool on) {
    if (const std::optional<QString> error = m_loginItem.setEnabled(on)) {
        m_loginError->setText(*error);
        m_loginError->show();
        // The toggle shows what the desktop will do, not what was asked of it.
        const QSignalBlocker quiet(m_login);
        m_login->setChecked(m_loginItem.enabled());
        return;
    }
    m_loginError->clear();
    m_loginError->hide();
}

} // namespace pipfield
