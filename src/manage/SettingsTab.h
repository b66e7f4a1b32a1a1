#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace pipfield {

class FormPage;
class Game;
class Label;
class LoginItem;
class Strip;

/// The settings tab: the strip, notifications, start at login and the version.
class SettingsTab : public QWidget {
    Q_OBJECT

public:
    SettingsTab(Game& game, Strip& strip, LoginItem& loginItem, std::function<void()> openNotificationSettings,
                QWidget* parent = nullptr);

    QCheckBox* stripShown() const { return m_shown; }
    QCheckBox* clickThrough() const { return m_clickThrough; }
    QCheckBox* hideInFullScreen() const { return m_hideInFullScreen; }
    QCheckBox* followPowerSaver() const { return m_followPowerSaver; }
    QComboBox* monitor() const { return m_monitor; }
    QCheckBox* notifications() const { return m_notifications; }
    QWidget* deniedRow() const { return m_deniedRow; }
    QPushButton* openSettingsButton() const { return m_openSettings; }
    QCheckBox* launchAtLogin() const { return m_login; }
    Label* loginError() const { return m_loginError; }
    Label* version() const { return m_version; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addStripSection(FormPage& form);
    void addNotificationSection(FormPage& form, std::function<void()> openNotificationSettings);
    void addStartSection(FormPage& form);
    void addAboutSection(FormPage& form);
    void fillMonitors();
    void refresh();
    void changeLogin(bool on);
    void readLogin();

    Game& m_game;
    Strip& m_strip;
    LoginItem& m_loginItem;
    QCheckBox* m_shown;
    QCheckBox* m_clickThrough;
    QCheckBox* m_hideInFullScreen;
    QCheckBox* m_followPowerSaver;
    QComboBox* m_monitor;
    QCheckBox* m_notifications;
    QWidget* m_deniedRow;
    QPushButton* m_openSettings;
    QCheckBox* m_login;
    Label* m_loginError;
    Label* m_version;
};

} // namespace pipfield
